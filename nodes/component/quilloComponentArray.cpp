#include "nodes/component/quilloComponentArray.h"

#include "feather/errorReport.h"
#include "nodes/component/markerDrawing.h"
#include "nodes/feather/featherDrawing.h"
#include "nodes/component/meshWalking.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/typeIds.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPluginData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>

#include <new>
#include <string>

const MTypeId quilloComponentArray::id(typeIds::quilloComponentArray);

MObject quilloComponentArray::walkStep, quilloComponentArray::walkTimes;
MObject quilloComponentArray::vertexGroup, quilloComponentArray::useGrowVertexID;
MObject quilloComponentArray::locatorSize, quilloComponentArray::uvSet;
MObject quilloComponentArray::inMesh, quilloComponentArray::inGrowMesh;
MObject quilloComponentArray::outFeatherTurtleDataArray;

namespace {
const char* const module = "quilloComponentArray";
}

void* quilloComponentArray::creator() {
    return new (std::nothrow) quilloComponentArray;
}

void quilloComponentArray::postConstructor() {
    markerPoints.clear();
}

MStatus quilloComponentArray::initialize() {
    MStatus status;
    MFnTypedAttribute typed;
    MFnNumericAttribute numeric;

    inMesh = typed.create("inMesh", "inm", MFnData::kMesh, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(typed.setArray(true), module);
    QUILLO_CHECK(typed.setHidden(true), module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setDisconnectBehavior(MFnAttribute::kDelete), module);

    inGrowMesh = typed.create("inGrowMesh", "ingm", MFnData::kMesh, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(typed.setHidden(true), module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setDisconnectBehavior(MFnAttribute::kReset), module);

    locatorSize = numeric.create("locatorSize", "locs", MFnNumericData::kFloat, 1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0), module);
    QUILLO_CHECK(numeric.setMax(1.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    walkStep = numeric.create("walkStep", "walks", MFnNumericData::kInt, 1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(1.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    walkTimes = numeric.create("walkTimes", "walkt", MFnNumericData::kInt, -1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(-1.0), module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    useGrowVertexID =
        numeric.create("useGrowVertexID", "usegrid", MFnNumericData::kBoolean, 0.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setKeyable(true), module);

    MFnStringData stringData;
    MObject emptyText = stringData.create("", &status);
    QUILLO_CHECK(status, module);
    vertexGroup = typed.create("vertexGroup", "vergrp", MFnData::kString, emptyText, &status);
    QUILLO_CHECK(status, module);

    MObject defaultSet = stringData.create("map1", &status);
    QUILLO_CHECK(status, module);
    uvSet = typed.create("uvSet", "uvs", MFnData::kString, defaultSet, &status);
    QUILLO_CHECK(status, module);

    MStatus outputStatus;
    outFeatherTurtleDataArray =
        typed.create("outFeatherTurtleDataArray", "outfeatda", featherTurtleArrayData::id,
                     MObject::kNullObj, &outputStatus);
    QUILLO_CHECK(outputStatus, module);
    QUILLO_CHECK(typed.setStorable(false), module);
    QUILLO_CHECK(typed.setWritable(false), module);
    QUILLO_CHECK(typed.setHidden(true), module);

    const MObject* inputs[] = {&walkStep,    &walkTimes, &vertexGroup, &useGrowVertexID,
                               &locatorSize, &uvSet,     &inMesh,      &inGrowMesh};
    for (const MObject* input : inputs)
        QUILLO_CHECK(addAttribute(*input), module);
    QUILLO_CHECK(addAttribute(outFeatherTurtleDataArray), module);
    for (const MObject* input : inputs)
        QUILLO_CHECK(attributeAffects(*input, outFeatherTurtleDataArray), module);
    return outputStatus;
}

MStatus quilloComponentArray::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != outFeatherTurtleDataArray)
        return MS::kUnknownParameter;

    const MString text = data.inputValue(vertexGroup).asString();
    if (text.length() == 0)
        return MS::kSuccess;
    MString setName = data.inputValue(uvSet).asString();
    if (setName.length() == 0)
        setName = "map1";
    const int step = data.inputValue(walkStep).asInt();
    const int times = data.inputValue(walkTimes).asInt();
    const bool useGrowIds = data.inputValue(useGrowVertexID).asBool();
    const float size = data.inputValue(locatorSize).asFloat();
    MArrayDataHandle meshes = data.inputArrayValue(inMesh);
    const unsigned int meshCount = meshes.elementCount();
    MObject growMesh = data.inputValue(inGrowMesh).asMesh();

    MStatus status;
    MFnPluginData dataFn;
    MObject listObject = dataFn.create(featherTurtleArrayData::id, &status);
    QUILLO_CHECK(status, module);
    auto* list = static_cast<featherTurtleArrayData*>(dataFn.data());

    markerPoints.clear();
    for (unsigned int element = 0; element < meshCount; ++element) {
        if (meshes.jumpToArrayElement(element) != MS::kSuccess)
            continue;
        // An element without a mesh has no vertices, hence no groups.
        MObject mesh = meshes.inputValue().asMesh();
        MFnMesh meshFn;
        const int vertexCount =
            !mesh.isNull() && meshFn.setObject(mesh) == MS::kSuccess ? meshFn.numVertices() : 0;
        bool overLimit = false;
        const std::vector<MIntArray> groups =
            walkVertexGroup(text, step, times, vertexCount, &overLimit);
        if (overLimit)
            MGlobal::displayError(name() + ": \"vertexGroup\" walked by \"walkStep\" and " +
                                  "\"walkTimes\" lists more than the limit of " +
                                  std::to_string(maxWalkIds).c_str() +
                                  " vertex ids in all; no paths were made.");
        if (groups.empty())
            continue;
        std::vector<turtleRecord> records = buildTurtleRecords(meshFn, groups);

        if (!growMesh.isNull() && !records.empty()) {
            MFnMesh growFn(growMesh);
            sampleGrowUVs(records, growFn, setName);
            if (useGrowIds)
                findGrowVertexIds(records, growFn);
        }
        for (const turtleRecord& record : records)
            markerTriangle(record.points, record.normals, size, markerPoints);
        if (list)
            list->turtles.insert(list->turtles.end(), records.begin(), records.end());
    }

    MDataHandle output = data.outputValue(outFeatherTurtleDataArray);
    output.set(listObject);
    output.setClean();
    return MS::kSuccess;
}

void quilloComponentArray::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle,
                                M3dView::DisplayStatus status) {
    MObject self = thisMObject();
    MObject records;
    MPlug(self, outFeatherTurtleDataArray).getValue(records); // brings the markers up to date
    parentMatrix = parentTransformation(self);

    drawMarkersInView(view, parentMatrix, markerPoints, markerColour(*this, status));
}

bool quilloComponentArray::isBounded() const {
    return false;
}

bool quilloComponentArray::excludeAsLocator() const {
    return false;
}
