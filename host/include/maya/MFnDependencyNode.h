#pragma once
// Function set for any dependency-graph node.

#include <maya/MFnBase.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPxNode;
class MPlugArray;

class OPENMAYA_EXPORT MFnDependencyNode : public MFnBase {
  public:
    MFnDependencyNode() = default;
    MFnDependencyNode(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kDependencyNode; }

    MObject create(const MString& typeName, MStatus* status = nullptr);
    MObject create(const MString& typeName, const MString& name, MStatus* status = nullptr);
    MString name(MStatus* status = nullptr) const;
    MString setName(const MString& name, bool createNamespace = false, MStatus* status = nullptr);
    MTypeId typeId(MStatus* status = nullptr) const;
    MString typeName(MStatus* status = nullptr) const;
    MPxNode* userNode(MStatus* status = nullptr) const;

    unsigned int attributeCount(MStatus* status = nullptr) const;
    MObject attribute(unsigned int index, MStatus* status = nullptr) const;
    MObject attribute(const MString& name, MStatus* status = nullptr) const;
    bool hasAttribute(const MString& name, MStatus* status = nullptr) const;
    MPlug findPlug(const MString& name, bool wantNetworkedPlug = true,
                   MStatus* status = nullptr) const;
    MPlug findPlug(const MObject& attribute, bool wantNetworkedPlug = true,
                   MStatus* status = nullptr) const;
    MStatus getConnections(MPlugArray& array) const;
    MStatus addAttribute(const MObject& attribute);
    MStatus removeAttribute(const MObject& attribute);
    bool isFromReferencedFile(MStatus* status = nullptr) const;
    bool isLocked(MStatus* status = nullptr) const;
    MStatus setLocked(bool locked);
};
