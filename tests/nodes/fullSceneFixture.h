#pragma once
// A small scene using every node type of the plug-in at once, for the soak and hostile-value
// tests: a feather node on a guide surface, fed by a component node and a component array
// walking a mesh, a feather system growing on a surface with that feather's description, and
// the render globals. Kept small so that building it a thousand times stays quick.

#include "featherNodeFixture.h"

#include <cstddef>
#include <string>
#include <vector>

struct fullScene {
    std::string feather, guide, mesh, component, array, system, growth, globals;
    // Every node made, for deleting them one by one.
    std::vector<std::string> nodes() const;
};

class FullSceneTest : public FeatherNodeTest {
  protected:
    fullScene createFullScene();
    // Pulls every output of the plug-in's nodes; false (with the plug named) when a pull fails.
    ::testing::AssertionResult evaluateAll(const fullScene& s);
    // Draws the whole scene offscreen as `quillo render` does (bounds, then each locator).
    ::testing::AssertionResult drawAll();
};

// Bytes of heap in use now (the sanitizer's count when built with AddressSanitizer, so that
// its quarantine of freed blocks does not count).
std::size_t heapInUse();
// The process's resident set, in bytes.
std::size_t residentBytes();
// True in a build with AddressSanitizer (resident size then includes its quarantine).
bool addressSanitized();
