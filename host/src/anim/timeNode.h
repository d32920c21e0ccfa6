#pragma once
// The time node ("time1" in every scene): "outTime" is the current time in frames of the
// scene's unit. Animation curves driven by time whose "input" has no connection take this
// time, as in Maya: changing it dirties them and everything downstream.

#include <maya/MPxNode.h>

namespace host {

class TypeRegistry;

class TimeNode : public MPxNode {
  public:
    static void* creator() { return new TimeNode; }
    static void initialize();

    static MObject outTime, unwarpedTime, enableTimewarp;
};

void registerTimeType(TypeRegistry& registry);

// Dirties time-driven curves whose input is unconnected (the time changed without a node).
void dirtyTimeDrivenCurves();

} // namespace host
