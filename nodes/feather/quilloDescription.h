#pragma once
// The feather node's attribute-to-description table: how the node's attributes become its
// `featherInfo` before every build.

#include <maya/MDataBlock.h>
#include <maya/MObject.h>

class featherInfo;

// Copies every description attribute of the node into info, reading through the data block
// (so connected attributes are pulled): doubles become floats, colours MColor(r, g, b, 1),
// counts of segments become counts of points, the key-barbule set is emptied and refilled in
// the order 1 to 4, and every ramp is bound to the node's own ramp attribute so that builds read
// its current entries. "shapeSymmetry" on binds the right length-scale ramp to the left one.
// The steering attributes ("active", "displayAs", "surfaceFeather", "multiInstances",
// "mainColor", the inputs) are left to the compute.
void readDescription(const MObject& node, MDataBlock& data, featherInfo& info);
