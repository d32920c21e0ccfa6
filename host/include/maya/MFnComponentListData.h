#pragma once
// Component list data: the value of componentList attributes (a groupParts' "inputComponents",
// a shape's "objectGrpCompList"). The list holds one component per component type, in the order
// the types were first added; adding a component of a type the list holds already adds its
// elements to that one. Components read from a file may be complete with the shape's counts
// ("vtx[*]"), and an index that was "*" reads as -1.

#include <maya/MFnData.h>

class OPENMAYA_EXPORT MFnComponentListData : public MFnData {
  public:
    MFnComponentListData() = default;
    MFnComponentListData(MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kComponentListData; }
    MStatus setObject(const MObject& object) override;

    // A new, empty list, also attached to this function set.
    MObject create(MStatus* status = nullptr);
    unsigned int length(MStatus* status = nullptr) const;
    // True when a component of the list holds every element of `comp`.
    bool has(const MObject& comp) const;
    MStatus add(MObject& comp);
    // Removes the list's component of comp's type when it equals comp (MFnComponent::isEqual);
    // kInvalidParameter otherwise.
    MStatus remove(const MObject& comp);
    MStatus remove(const unsigned int index);
    MStatus clear();
    // A new component object (edits to it do not change the list); null past the end.
    MObject operator[](const unsigned int index) const;
};
