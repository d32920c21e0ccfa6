#pragma once
// A ramp attribute of one node: a curve ramp (a float over a position) or a colour ramp.
//
// A ramp with long name L and short name s is an array attribute of compound entries:
//   curve ramp:  L_Position/sp (float), L_FloatValue/sfv (float), L_Interp/si (enum)
//   colour ramp: L_Position/sp (float), L_Color/sc (colour, scr scg scb), L_Interp/si (enum)
// Entries are sparse and may be stored in any order; an entry's index is the logical index of
// its array element. Every read goes through the node's plugs, so connected entry plugs give
// their sources' values.
//
// Evaluation at a position sorts the entries by position first. Below the first entry the
// first value holds, at or above the last entry the last value. The entry at or below the
// position sets the interpolation of the segment up to the next entry: kNone keeps the lower
// value, kLinear interpolates linearly, kSmooth eases with 3u^2 - 2u^3, kSpline is a cubic
// Hermite curve whose slopes are the mean of the neighbouring segments' slopes at inner
// entries and the one-sided slope at the first and last entries. A ramp with no entries gives
// 0 (black for a colour ramp).
//
// A node created outside file reading gets one entry (position 0, value 0, kLinear) at index 0
// in every ramp its postConstructor left empty; entries added in postConstructor replace that
// default rather than joining it.

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

class MColor;
class MColorArray;
class MFloatArray;
class MIntArray;

class OPENMAYA_EXPORT MRampAttribute {
  public:
    enum MInterpolation { kNone = 0, kLinear = 1, kSmooth = 2, kSpline = 3 };

    MRampAttribute();
    MRampAttribute(const MRampAttribute& other);
    // The array plug of a ramp attribute; anything else gives MS::kInvalidParameter.
    MRampAttribute(const MPlug& plug, MStatus* ReturnStatus = nullptr);
    MRampAttribute(const MObject& node, const MObject& attribute, MStatus* ReturnStatus = nullptr);
    MRampAttribute& operator=(const MRampAttribute& other);
    ~MRampAttribute();

    // Number of entries (stored or connected elements).
    unsigned int getNumEntries(MStatus* returnStatus = nullptr);
    // Every entry in ascending index order (not sorted by position). Interpolations are
    // MInterpolation values.
    void getEntries(MIntArray& indexes, MFloatArray& positions, MFloatArray& values,
                    MIntArray& interps, MStatus* returnStatus = nullptr);
    void getEntries(MIntArray& indexes, MFloatArray& positions, MColorArray& colors,
                    MIntArray& interps, MStatus* returnStatus = nullptr);
    // Appends entries at new indices above the highest one in use. The three arrays must
    // have the same length; an interpolation outside kNone..kSpline is refused. Nothing is
    // added when a check fails.
    void addEntries(MFloatArray& positions, MFloatArray& values, MIntArray& interps,
                    MStatus* returnStatus = nullptr);
    void addEntries(MFloatArray& positions, MColorArray& colors, MIntArray& interps,
                    MStatus* returnStatus = nullptr);
    // Removes the entries with these indices; an index without an entry fails the call and
    // nothing is removed.
    void deleteEntries(MIntArray& indexes, MStatus* returnStatus = nullptr);

    // Change one entry, by index; an index without an entry gives MS::kInvalidParameter.
    void setValueAtIndex(float value, unsigned int index, MStatus* returnStatus = nullptr);
    void setColorAtIndex(MColor& color, unsigned int index, MStatus* returnStatus = nullptr);
    void setPositionAtIndex(float position, unsigned int index, MStatus* returnStatus = nullptr);
    void setInterpolationAtIndex(MRampAttribute::MInterpolation interp, unsigned int index,
                                 MStatus* returnStatus = nullptr);
    bool hasIndex(unsigned int index, MStatus* returnStatus = nullptr);

    // Renumbers the entries 0..n-1 in order of position (ascending or descending). Fails,
    // changing nothing, when an entry plug has an incoming connection.
    void sort(bool ascending, MStatus* returnStatus = nullptr);

    bool isCurveRamp(MStatus* returnStatus = nullptr);
    bool isColorRamp(MStatus* returnStatus = nullptr);

    // The ramp evaluated at a position, as described above. A curve ramp's value for
    // getColorAtPosition and a colour ramp's for getValueAtPosition are refused.
    void getValueAtPosition(float position, float& value, MStatus* returnStatus = nullptr);
    void getColorAtPosition(float position, MColor& color, MStatus* returnStatus = nullptr);

    // Create the ramp attributes (array compounds as described above). Add the returned
    // attribute to the node type with MPxNode::addAttribute.
    static MObject createCurveRamp(const MString& attrLongName, const MString& attrShortName,
                                   MStatus* ReturnStatus = nullptr);
    static MObject createColorRamp(const MString& attrLongName, const MString& attrShortName,
                                   MStatus* ReturnStatus = nullptr);

    static const char* className();

  private:
    MPlug plug_;
};
