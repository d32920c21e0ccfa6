#pragma once
// "quilloSystem": grows hundreds of feathers over a growth surface or mesh.
// The type is registered so that scenes can hold the node; its attributes and behaviour are
// added in stages.

#include <maya/MPxLocatorNode.h>

class quilloSystem : public MPxLocatorNode {
  public:
    ~quilloSystem() override = default;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;
};
