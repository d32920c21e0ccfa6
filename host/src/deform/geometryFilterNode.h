#pragma once
// What every deformer shares (Maya's geometryFilter): per connection g, the geometry in
// "input[g].inputGeometry" (with its "groupId") becomes "outputGeometry[g]"; "envelope" blends
// between them: out = in + envelope · (deformed − in), on the points the input's group holds
// (see deformedPoints). Geometry other than meshes and NURBS surfaces passes through as it is.

#include <maya/MPoint.h>
#include <maya/MPxNode.h>

#include <vector>

namespace host {

class TypeRegistry;

class GeometryFilterNode : public MPxNode {
  public:
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject input, inputGeometry, groupId, outputGeometry, envelope, originalGeometry;

  protected:
    // Adds the shared attributes to the type being initialized; the output follows them.
    static void addGeometryFilterAttributes();
    // Makes the output follow a deformer's own input.
    static void affectsOutput(const MObject& attribute);

    // The deformed position of every point of input `index` (members or not: only members are
    // used). False leaves the geometry as it came in.
    virtual bool deform(MDataBlock& data, unsigned index, const MObject& geometry,
                        const std::vector<MPoint>& points, std::vector<MPoint>& deformed) = 0;

  private:
    MStatus computeOutput(MDataBlock& data, unsigned index);
};

} // namespace host
