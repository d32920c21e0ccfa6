#pragma once
// A viewport: locators draw into it with OpenGL between beginGL and endGL.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

class MColor;

class OPENMAYA_EXPORT M3dView {
  public:
    enum DisplayStyle { kBoundingBox, kFlatShaded, kGouraudShaded, kWireFrame, kPoints };
    enum DisplayStatus {
        kActive = 0,
        kLive = 1,
        kDormant = 2,
        kInvisible = 3,
        kHilite = 4,
        kTemplate = 5,
        kActiveTemplate = 6,
        kActiveComponent = 7,
        kLead = 8,
        kIntermediateObject = 9,
        kActiveAffected = 10,
        kNoStatus = 11
    };
    enum ColorTable {
        kActiveColors = 0,
        kDormantColors = 2,
        kTemplateColor = 3,
        kBackgroundColor = 4
    };

    M3dView() = default;
};
