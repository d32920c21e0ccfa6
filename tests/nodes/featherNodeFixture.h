#pragma once
// A fresh scene with the plug-in loaded, for the feather node's tests, and the scene pieces
// they share: guide surfaces, turtles from component nodes, a colour texture.

#include "nodes/feather/quillo.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MObject.h>
#include <maya/MPointArray.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class idRegistry;

// One turtle record for a test: a straight path from `root` along `along`, `points` points,
// normals up the y axis.
struct testTurtle {
    unsigned int points = 5;
    MVector root = MVector(0.0, 0.0, 0.0);
    MVector along = MVector(1.0, 0.0, 0.0);
    float u = 0.0f;
    float v = 0.0f;
    int growVertexID = 0;
};

class FeatherNodeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A new feather node (under a new transform); its node name.
    std::string createFeatherNode(const std::string& name = "");
    quillo& featherNode(const std::string& name);

    // A guide surface: a flat degree-1 patch over parameters [0, 1] x [0, 1], its corners at
    // origin + (0..width along x) + (0..depth along z), under a transform of its own. Returns
    // the shape's name.
    std::string createGuide(const std::string& name, const MPoint& origin = MPoint(),
                            double width = 2.0, double depth = 1.0);
    // A bent patch (degree 2 along u), so that guides differ in shape.
    std::string createArchedGuide(const std::string& name);
    // Connects the shape's world-space surface to "guidSurfaceInfo[element].guidSurface".
    void connectGuide(const std::string& shape, const std::string& feather, int element);
    void disconnectGuide(const std::string& shape, const std::string& feather, int element);

    // A quilloComponent node carrying the turtle on an attribute of its own, "testTurtle"
    // (the component's own outputs are not needed here), connected to
    // "inFeatherTurtleData[element]". Returns the component's name.
    std::string connectComponentTurtle(const testTurtle& turtle, const std::string& feather,
                                       int element);
    // The same turtle on a node of another type (a transform): not tracked by the feather node.
    std::string connectForeignTurtle(const testTurtle& turtle, const std::string& feather,
                                     int element);
    // Sets "inFeatherTurtleArrayData[element]" to an array of these turtles.
    void setTurtleArray(const std::string& feather, int element,
                        const std::vector<testTurtle>& turtles);

    // A texture whose colour at (u, v) is (u, v, 0.25), connected to "mainColor".
    std::string connectUvTexture(const std::string& feather);

    // Evaluates "outputMesh", the build.
    void build(const std::string& feather);

    static MObject surfaceData(const MPointArray& cvs, unsigned int degreeU);

    host::Scene& scene = host::Scene::current();
    MObject plugin;
};

// How many entries the shared registries hold.
int turtleEntries();
int descriptionEntries();
