#include "nodes/component/quilloComponent.h"

#include "feather/errorReport.h"
#include "nodes/component/markerDrawing.h"
#include "nodes/feather/featherDrawing.h"
#include "nodes/component/meshWalking.h"
#include "nodes/component/quilloComponentArray.h"
#include "plugin/featherTurtleData.h"
#include "plugin/typeIds.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPluginData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>

#include <new>
#include <string>

const MTypeId quilloComponent::id(typeIds::quilloComponent);

MObject quilloComponent::inMesh, quilloComponent::vertexGroup, quilloComponent::featherUV;
MObject quilloComponent::growVertexID, quilloComponent::locatorSize;
MObject quilloComponent::outVertexGroup, quilloComponent::outFeatherTurtleData;

namespace {
const char* const module = "quilloComponent";
}

void* quilloComponent::creator() {
    return new (std::nothrow) quilloComponent;
}

void quilloComponent::postConstructor() {
    markerPoints.clear();
}

MStatus quilloComponent::initialize() {
    MStatus status;
    MFnTypedAttribute typed;
    MFnNumericAttribute numeric;

    inMesh = typed.create("inMesh", "inm", MFnData::kMesh, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(typed.setHidden(true), module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setDisconnectBehavior(MFnAttribute::kReset), module);

    featherUV = numeric.create("featherUV", "feauv", MFnNumericData::k2Float, 0.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0, 0.0), module);
    QUILLO_CHECK(numeric.setMax(1.0, 1.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    locatorSize = numeric.create("locatorSize", "locs", MFnNumericData::kFloat, 1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0), module);
    QUILLO_CHECK(numeric.setMax(1.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    growVertexID = numeric.create("growVertexID", "grvid", MFnNumericData::kInt, 0.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    MFnStringData stringData;
    MObject emptyText = stringData.create("", &status);
    QUILLO_CHECK(status, module);

    vertexGroup = typed.create("vertexGroup", "vergrp", MFnData::kString, emptyText, &status);
    QUILLO_CHECK(status, module);

    outVertexGroup =
        typed.create("outVertexGroup", "outvergrp", MFnData::kString, emptyText, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setWritable(false), module);
    QUILLO_CHECK(typed.setHidden(true), module);
    QUILLO_CHECK(typed.setConnectable(false), module);

    MStatus outputStatus;
    outFeatherTurtleData = typed.create("outFeatherTurtleData", "outfeatd", featherTurtleData::id,
                                        MObject::kNullObj, &outputStatus);
    QUILLO_CHECK(outputStatus, module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setWritable(false), module);
    QUILLO_CHECK(typed.setHidden(true), module);

    for (const MObject* attribute : {&inMesh, &vertexGroup, &featherUV, &growVertexID, &locatorSize,
                                     &outVertexGroup, &outFeatherTurtleData})
        QUILLO_CHECK(addAttribute(*attribute), module);

    QUILLO_CHECK(attributeAffects(vertexGroup, outVertexGroup), module);
    QUILLO_CHECK(attributeAffects(inMesh, outVertexGroup), module);
    QUILLO_CHECK(attributeAffects(locatorSize, outVertexGroup), module);
    QUILLO_CHECK(attributeAffects(vertexGroup, outFeatherTurtleData), module);
    QUILLO_CHECK(attributeAffects(inMesh, outFeatherTurtleData), module);
    QUILLO_CHECK(attributeAffects(featherUV, outFeatherTurtleData), module);
    QUILLO_CHECK(attributeAffects(growVertexID, outFeatherTurtleData), module);
    return outputStatus;
}

void quilloComponent::nodeRemoved(MObject& node, void*) {
    MFnDependencyNode fn(node);
    if (fn.typeId() == quilloComponent::id) {
        if (auto* component = static_cast<quilloComponent*>(fn.userNode()))
            component->clearMarkers();
    } else if (fn.typeId() == quilloComponentArray::id) {
        if (auto* array = static_cast<quilloComponentArray*>(fn.userNode()))
            array->clearMarkers();
    }
}

MStatus quilloComponent::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != outVertexGroup && plug != outFeatherTurtleData)
        return MS::kUnknownParameter;

    const MString text = data.inputValue(vertexGroup).asString();
    if (text.length() == 0)
        return MS::kSuccess;
    const float2& uv = data.inputValue(featherUV).asFloat2();
    const float u = uv[0], v = uv[1];
    const int growId = data.inputValue(growVertexID).asInt();
    const float size = data.inputValue(locatorSize).asFloat();
    MObject mesh = data.inputValue(inMesh).asMesh();
    if (mesh.isNull())
        return MS::kSuccess;

    MFnMesh meshFn(mesh);
    bool overLimit = false;
    const MIntArray ids = parseVertexGroup(text, meshFn.numVertices(), &overLimit);
    if (overLimit)
        MGlobal::displayError(name() + ": \"vertexGroup\" lists more than the limit of " +
                              std::to_string(maxWalkIds).c_str() +
                              " vertex ids; no path was made.");
    MVectorArray points, normals;
    MString usedIds;
    buildTurtleRecord(meshFn, ids, points, normals, usedIds);

    markerPoints.clear();
    markerTriangle(points, normals, size, markerPoints);

    MDataHandle usedHandle = data.outputValue(outVertexGroup);
    usedHandle.set(usedIds);
    usedHandle.setClean();

    MStatus status;
    MFnPluginData dataFn;
    MObject turtleObject = dataFn.create(featherTurtleData::id, &status);
    QUILLO_CHECK(status, module);
    if (auto* turtle = static_cast<featherTurtleData*>(dataFn.data(&status))) {
        turtle->turtle.points = points;
        turtle->turtle.normals = normals;
        turtle->turtle.u = u;
        turtle->turtle.v = v;
        turtle->turtle.growVertexID = growId;
    }
    MDataHandle turtleHandle = data.outputValue(outFeatherTurtleData);
    turtleHandle.set(turtleObject);
    turtleHandle.setClean();
    return MS::kSuccess;
}

void quilloComponent::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle,
                           M3dView::DisplayStatus status) {
    MObject self = thisMObject();
    MObject usedIds;
    MPlug(self, outVertexGroup).getValue(usedIds); // brings the marker up to date
    parentMatrix = parentTransformation(self);

    // Only a complete marker is drawn; the view's GL state is left as it was either way.
    const MPointArray none;
    drawMarkersInView(view, parentMatrix, markerPoints.length() == 3 ? markerPoints : none,
                      markerColour(*this, status));
}

bool quilloComponent::isBounded() const {
    return false;
}

bool quilloComponent::excludeAsLocator() const {
    return false;
}
