#pragma once
// Every type the plug-in registers. Names and ids are stored in scene files: never change them.

#include <maya/MTypeId.h>

namespace typeIds {
const unsigned int featherTurtleData = 0x81036;      // 528438
const unsigned int featherTurtleArrayData = 0x81038; // 528440
const unsigned int quillo = 0x81030;                 // 528432
const unsigned int quilloGlobals = 0x81031;          // 528433
const unsigned int quilloSystem = 0x81032;           // 528434
const unsigned int quilloComponent = 0x81034;        // 528436
const unsigned int quilloComponentArray = 0x81039;   // 528441
} // namespace typeIds
