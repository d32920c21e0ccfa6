#pragma once
// "quilloComponentArray": turns a vertex chain repeated across meshes into many feather paths.
// The type is registered so that scenes can hold the node; its attributes and behaviour are
// added in stages.

#include <maya/MPxLocatorNode.h>

class quilloComponentArray : public MPxLocatorNode {
  public:
    ~quilloComponentArray() override = default;

    static void* creator();
    static MStatus initialize();

    static const MTypeId id;
};
