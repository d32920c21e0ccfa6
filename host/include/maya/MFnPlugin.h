#pragma once
// Registers a plug-in's node types, data types and commands. Including this header in exactly one
// source file of a plug-in defines the exported MApiVersion text, as the devkit's header does.

#include <maya/MFnBase.h>
#include <maya/MPxData.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class OPENMAYA_EXPORT MFnPlugin : public MFnBase {
  public:
    MFnPlugin();
    MFnPlugin(MObject& object, const char* vendor = "Unknown", const char* version = "Unknown",
              const char* requiredApiVersion = "Any", MStatus* status = nullptr);
    ~MFnPlugin() override;
    MFn::Type type() const override { return MFn::kPlugin; }

    MString vendor(MStatus* status = nullptr) const;
    MString version(MStatus* status = nullptr) const;
    MString apiVersion(MStatus* status = nullptr) const;
    MString name(MStatus* status = nullptr) const;
    MString loadPath(MStatus* status = nullptr) const;
    MStatus setName(const MString& name, bool allowRename = true);
    MStatus setVersion(const MString& version);

    MStatus registerNode(const MString& typeName, const MTypeId& typeId,
                         MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                         MPxNode::Type type = MPxNode::kDependNode,
                         const MString* classification = nullptr);
    MStatus deregisterNode(const MTypeId& typeId);
    MStatus registerData(const MString& typeName, const MTypeId& typeId,
                         MCreatorFunction creatorFunction, MPxData::Type type = MPxData::kData);
    MStatus deregisterData(const MTypeId& typeId);

    // A MEL command made by the creator (an MPxCommand) on every call; with a syntax creator
    // its arguments are checked against the syntax before doIt. A name that is already a
    // command is refused. Commands left registered at unload are deregistered with a warning.
    MStatus registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                            MCreateSyntaxFunction createSyntaxFunction = nullptr);
    MStatus deregisterCommand(const MString& commandName);
};

#ifndef MNoVersionString
extern "C" __attribute__((visibility("default"))) const char MApiVersion[] =
    MAYA_API_VERSION_STRING;
#endif
