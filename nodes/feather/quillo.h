#pragma once
// "quillo": the feather node: one feather description, one feather per connected guide.
// The type is registered so that scenes can hold the node; its attributes and behaviour are
// added in stages.

#include <maya/MPxLocatorNode.h>

class quillo : public MPxLocatorNode {
  public:
    ~quillo() override = default;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback: releases what the node holds in the shared registries.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;
};
