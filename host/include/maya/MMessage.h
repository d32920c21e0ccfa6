#pragma once
// Callback registration: every add* call returns an id that removeCallback takes back.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

class MIntArray;
class MCallbackIdArray;

class OPENMAYA_EXPORT MMessage {
  public:
    static MStatus removeCallback(MCallbackId id);
    static MStatus removeCallbacks(MCallbackIdArray& ids);
};
