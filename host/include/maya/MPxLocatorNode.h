#pragma once
// Base of plug-in locators: DAG shapes that draw themselves in the viewport.

#include <maya/M3dView.h>
#include <maya/MBoundingBox.h>
#include <maya/MColor.h>
#include <maya/MDagPath.h>
#include <maya/MPxNode.h>

class OPENMAYA_EXPORT MPxLocatorNode : public MPxNode {
  public:
    MPxLocatorNode();
    ~MPxLocatorNode() override;
    MPxNode::Type type() const override;

    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
                      M3dView::DisplayStatus status);
    virtual bool isBounded() const;
    virtual MBoundingBox boundingBox() const;
    virtual bool excludeAsLocator() const;
    virtual bool isTransparent() const;

    // The colour the host draws an object of this status in (the host's defaults).
    MColor colorRGB(M3dView::DisplayStatus status) const;
    int color(M3dView::DisplayStatus status) const;

    static MObject localPosition;
    static MObject localPositionX;
    static MObject localPositionY;
    static MObject localPositionZ;
    static MObject localScale;
    static MObject localScaleX;
    static MObject localScaleY;
    static MObject localScaleZ;
};
