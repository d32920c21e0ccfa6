#pragma once
// Base of plug-in (and the host's built-in) dependency nodes.

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class OPENMAYA_EXPORT MPxNode {
  public:
    enum Type {
        kDependNode,
        kLocatorNode,
        kDeformerNode,
        kManipContainer,
        kSurfaceShape,
        kFieldNode,
        kEmitterNode,
        kSpringNode,
        kIkSolverNode,
        kHardwareShader,
        kHwShaderNode,
        kTransformNode,
        kManipulatorNode,
        kClientDeviceNode,
        kThreadedDeviceNode,
        kLast
    };

    MPxNode();
    virtual ~MPxNode();

    virtual void postConstructor();
    virtual MStatus compute(const MPlug& plug, MDataBlock& dataBlock);
    virtual MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual MStatus connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual MStatus legalConnection(const MPlug& plug, const MPlug& otherPlug, bool asSrc,
                                    bool& isLegal) const;
    virtual MStatus setDependentsDirty(const MPlug& plug, class MPlugArray& plugArray);
    virtual Type type() const;

    MObject thisMObject() const;
    MString name() const;
    MTypeId typeId() const;
    MString typeName() const;
    MStatus setExistWithoutInConnections(bool flag);
    MStatus setExistWithoutOutConnections(bool flag);
    bool existWithoutInConnections(MStatus* status = nullptr) const;
    bool existWithoutOutConnections(MStatus* status = nullptr) const;

    static MStatus addAttribute(const MObject& attribute);
    static MStatus inheritAttributesFrom(const MString& parentClassName);
    static MStatus attributeAffects(const MObject& whenChanges, const MObject& isAffected);

    static MObject message;
    static MObject isHistoricallyInteresting;
    static MObject caching;
    static MObject state;

    // Host side: the graph node this object belongs to.
    void setHostNode(host::Node* node) { hostNode_ = node; }
    host::Node* hostNode() const { return hostNode_; }

  private:
    host::Node* hostNode_ = nullptr;
    bool existWithoutIn_ = true;
    bool existWithoutOut_ = true;
};
