#pragma once
// "quilloComponent": turns a chain of mesh vertices into one feather path.
// The type is registered so that scenes can hold the node; its attributes and behaviour are
// added in stages.

#include <maya/MPxLocatorNode.h>

class quilloComponent : public MPxLocatorNode {
  public:
    ~quilloComponent() override = default;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback, shared with quilloComponentArray.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;
};
