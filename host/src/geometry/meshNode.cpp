#include "geometry/meshNode.h"

#include "builtin/transformNode.h"
#include "geometry/meshData.h"
#include "geometry/meshPolyComponentData.h"
#include "geometry/meshPolyFaces.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MRampAttribute.h>
#include <maya/MGlobal.h>

#include <functional>

namespace host {

MObject MeshNode::vertices, MeshNode::vertexX, MeshNode::vertexY, MeshNode::vertexZ,
    MeshNode::tweaks, MeshNode::tweakX, MeshNode::tweakY, MeshNode::tweakZ, MeshNode::edges,
    MeshNode::edgeVertex1, MeshNode::edgeVertex2, MeshNode::edgeHard, MeshNode::faces,
    MeshNode::uvSets, MeshNode::uvSetName, MeshNode::uvSetPoints, MeshNode::uvSetPointU,
    MeshNode::uvSetPointV, MeshNode::currentUVSet, MeshNode::inMesh, MeshNode::outMesh,
    MeshNode::worldMesh;

namespace {

// A numeric compound of three children, as an array when asked.
MObject triple(const char* name, const char* shortName, const char* const names[3],
               const char* const shortNames[3], MFnNumericData::Type type, MObject* children[3],
               bool array) {
    MFnNumericAttribute numeric;
    for (int i = 0; i < 3; ++i)
        *children[i] = numeric.create(names[i], shortNames[i], type, 0.0);
    MObject parent = numeric.create(name, shortName, *children[0], *children[1], *children[2]);
    numeric.setArray(array);
    return parent;
}

void addNumber(const char* name, const char* shortName, MFnNumericData::Type type, double value) {
    MFnNumericAttribute numeric;
    MPxNode::addAttribute(numeric.create(name, shortName, type, value));
}

void addString(const char* name, const char* shortName, const char* value) {
    MFnStringData text;
    MFnTypedAttribute typed;
    MPxNode::addAttribute(typed.create(name, shortName, MFnData::kString, text.create(value)));
}

void addData(const char* name, const char* shortName) {
    MFnTypedAttribute typed;
    MPxNode::addAttribute(typed.create(name, shortName, MFnData::kAny));
}

// A curve ramp as files store it; the shape only keeps it for the file.
void addRamp(const std::string& name, const std::string& shortName) {
    MPxNode::addAttribute(MRampAttribute::createCurveRamp(name.c_str(), shortName.c_str()));
}

PlugRef arrayPlug(Node& node, const MObject& attribute) {
    const AttributeDef* def = attributeDef(attribute);
    return PlugRef{&node, def, std::vector<int>(static_cast<size_t>(def->arrayDepth()), -1)};
}

const AttributeDef* def(const MObject& attribute) {
    return attributeDef(attribute);
}

// The largest logical index of an array slot's elements; size_t(-1) when there are none, so
// that one more counts the elements a dense list needs.
size_t lastIndex(const Slot& container) {
    if (const PackedElements* packed = container.elements.packed())
        return packed->indices.empty() ? static_cast<size_t>(-1) : packed->indices.back();
    return container.elements.empty() ? static_cast<size_t>(-1)
                                      : container.elements.rbegin()->first;
}

std::shared_ptr<const Mesh> meshFromAttributes(Node& node) {
    Mesh mesh;
    std::string error;
    if (!buildMesh(readMeshAttributes(node), mesh, error)) {
        MGlobal::displayError(("Mesh '" + node.name() + "': " + error).c_str());
        return emptyMesh();
    }
    return std::make_shared<const Mesh>(std::move(mesh));
}

} // namespace

void MeshNode::initialize() {
    static const char* const vertexNames[3] = {"vrtx", "vrty", "vrtz"};
    static const char* const vertexShort[3] = {"vx", "vy", "vz"};
    MObject* vertexChildren[3] = {&vertexX, &vertexY, &vertexZ};
    vertices = triple("vrts", "vt", vertexNames, vertexShort, MFnNumericData::kFloat,
                      vertexChildren, true);
    addAttribute(vertices);

    static const char* const tweakNames[3] = {"pntx", "pnty", "pntz"};
    static const char* const tweakShort[3] = {"px", "py", "pz"};
    MObject* tweakChildren[3] = {&tweakX, &tweakY, &tweakZ};
    tweaks =
        triple("pnts", "pt", tweakNames, tweakShort, MFnNumericData::kFloat, tweakChildren, true);
    addAttribute(tweaks);

    MFnNumericAttribute numeric;
    edgeVertex1 = numeric.create("edg1", "e1", MFnNumericData::kInt, 0.0);
    edgeVertex2 = numeric.create("edg2", "e2", MFnNumericData::kInt, 0.0);
    edgeHard = numeric.create("edgh", "eh", MFnNumericData::kBoolean, 0.0);
    edges = numeric.create("edge", "ed", edgeVertex1, edgeVertex2, edgeHard);
    numeric.setArray(true);
    addAttribute(edges);

    MFnTypedAttribute typed;
    faces = typed.create("face", "fc", MFnData::kAny);
    typed.setArray(true);
    addAttribute(faces);

    uvSetName = typed.create("uvSetName", "uvsn", MFnData::kString);
    uvSetPointU = numeric.create("uvSetPointsU", "uvpu", MFnNumericData::kFloat, 0.0);
    uvSetPointV = numeric.create("uvSetPointsV", "uvpv", MFnNumericData::kFloat, 0.0);
    uvSetPoints = numeric.create("uvSetPoints", "uvsp", uvSetPointU, uvSetPointV);
    numeric.setArray(true);
    MFnCompoundAttribute compound;
    uvSets = compound.create("uvSet", "uvst");
    compound.addChild(uvSetName);
    compound.addChild(uvSetPoints);
    compound.setArray(true);
    addAttribute(uvSets);

    currentUVSet = typed.create("currentUVSet", "cuvs", MFnData::kString);
    addAttribute(currentUVSet);

    inMesh = typed.create("inMesh", "i", MFnData::kMesh);
    typed.setStorable(false);
    addAttribute(inMesh);
    outMesh = typed.create("outMesh", "o", MFnData::kMesh);
    typed.setWritable(false);
    typed.setStorable(false);
    addAttribute(outMesh);
    worldMesh = typed.create("worldMesh", "w", MFnData::kMesh);
    typed.setWritable(false);
    typed.setStorable(false);
    typed.setArray(true);
    addAttribute(worldMesh);
    // One element per instance: "shape.worldMesh" named without an index means element 0.
    attributeDef(worldMesh)->instanced = true;

    for (const MObject* input :
         {&vertices, &tweaks, &edges, &faces, &uvSets, &currentUVSet, &inMesh}) {
        attributeAffects(*input, outMesh);
        attributeAffects(*input, worldMesh);
    }

    // What files set on meshes besides the mesh itself, kept as it is.
    static const char* const normalNames[3] = {"normalx", "normaly", "normalz"};
    static const char* const normalShort[3] = {"nx", "ny", "nz"};
    MObject nx, ny, nz;
    MObject* normalChildren[3] = {&nx, &ny, &nz};
    addAttribute(triple("normals", "n", normalNames, normalShort, MFnNumericData::kFloat,
                        normalChildren, true));
    addNumber("visibleInReflections", "vir", MFnNumericData::kBoolean, 0.0);
    addNumber("visibleInRefractions", "vif", MFnNumericData::kBoolean, 0.0);
    addString("displayColorChannel", "dcc", "Ambient+Diffuse");
    addNumber("displayColors", "dcol", MFnNumericData::kBoolean, 0.0);
    addNumber("useGlobalSmoothDrawType", "ugsdt", MFnNumericData::kBoolean, 1.0);
    MFnEnumAttribute enumeration;
    MObject normalMethod = enumeration.create("vertexNormalMethod", "vnm", 3);
    const char* methods[] = {"Unweighted", "AngleWeighted", "AreaWeighted", "AngleAndAreaWeighted"};
    for (short i = 0; i < 4; ++i)
        enumeration.addField(methods[i], i);
    addAttribute(normalMethod);
    addRamp("collisionOffsetVelocityMultiplier", "covm");
    addRamp("collisionDepthVelocityMultiplier", "cdvm");
    addData("creaseData", "cd");
    addData("creaseVertexData", "cvd");
    addData("holeFaceData", "hfd");
}

MStatus MeshNode::compute(const MPlug& plug, MDataBlock& data) {
    Node* node = hostNode();
    if ((plug != outMesh && plug != worldMesh) || !node)
        return MS::kUnknownParameter;
    if (plug == outMesh) {
        std::shared_ptr<const Mesh> mesh;
        if (MPlug(thisMObject(), inMesh).isConnected())
            mesh = meshIn(data.inputValue(inMesh).data());
        if (!mesh)
            mesh = meshFromAttributes(*node);
        // Outputs get their own data objects, sharing the immutable mesh.
        data.outputValue(outMesh).set(makeMeshData(mesh));
        data.setClean(plug);
        return MS::kSuccess;
    }
    Slot* local = Graph::instance().pull(PlugRef{node, def(outMesh), {}});
    std::shared_ptr<const Mesh> mesh = local ? meshIn(local->data) : nullptr;
    if (!mesh)
        mesh = emptyMesh();
    const MMatrix world = worldMatrix(*node);
    MObject value = world == MMatrix::identity
                        ? makeMeshData(mesh)
                        : makeMeshData(std::make_shared<const Mesh>(transformed(*mesh, world)));
    MPlug element = MPlug(thisMObject(), worldMesh).elementByLogicalIndex(0);
    data.outputValue(element).set(value);
    data.setClean(element);
    data.setClean(plug);
    return MS::kSuccess;
}

bool isMeshNode(const Node* node) {
    return node && node->alive() && node->type()->api == MFn::kMesh;
}

std::shared_ptr<const Mesh> meshOfNode(Node& node) {
    if (!isMeshNode(&node))
        return emptyMesh();
    Slot* slot = Graph::instance().pull(PlugRef{&node, def(MeshNode::outMesh), {}});
    std::shared_ptr<const Mesh> mesh = slot ? meshIn(slot->data) : nullptr;
    return mesh ? mesh : emptyMesh();
}

bool meshFromHistory(Node& node) {
    PlugRef in{&node, def(MeshNode::inMesh), {}};
    if (!Graph::instance().incomingTo(in))
        return false;
    Slot* slot = Graph::instance().pull(in);
    return slot && meshIn(slot->data);
}

MeshAttributeValues readMeshAttributes(Node& node) {
    Graph& graph = Graph::instance();
    MeshAttributeValues values;

    // Packed or not, the numbers are read where they are kept.
    if (Slot* vt = graph.pull(arrayPlug(node, MeshNode::vertices))) {
        values.vertices.assign(lastIndex(*vt) + 1, MPoint(0, 0, 0));
        forEachNumericElement(*vt, def(MeshNode::vertices),
                              [&](unsigned int index, const double* xyz) {
                                  values.vertices[index] = MPoint(xyz[0], xyz[1], xyz[2]);
                              });
    }
    if (Slot* pt = graph.pull(arrayPlug(node, MeshNode::tweaks)))
        forEachNumericElement(*pt, def(MeshNode::tweaks),
                              [&](unsigned int index, const double* xyz) {
                                  if (index < values.vertices.size()) {
                                      MPoint& p = values.vertices[index];
                                      p.x += xyz[0];
                                      p.y += xyz[1];
                                      p.z += xyz[2];
                                  }
                              });
    if (Slot* ed = graph.pull(arrayPlug(node, MeshNode::edges))) {
        values.edges.assign(lastIndex(*ed) + 1, MeshAttributeValues::Edge());
        forEachNumericElement(*ed, def(MeshNode::edges),
                              [&](unsigned int index, const double* numbers) {
                                  MeshAttributeValues::Edge& edge = values.edges[index];
                                  edge.v0 = static_cast<int>(numbers[0]);
                                  edge.v1 = static_cast<int>(numbers[1]);
                                  edge.hard = numbers[2] != 0.0;
                                  edge.defined = true;
                              });
    }
    if (Slot* fc = graph.pull(arrayPlug(node, MeshNode::faces))) {
        const PackedElements* packed = fc->elements.packed();
        if (packed && packed->codec == &polyFacesCodec()) {
            for (size_t k = 0; k < packed->indices.size(); ++k) {
                size_t count = 0;
                const int* ints = packed->dataOf(k, count);
                values.faces.push_back(decodePolyFace(ints, count));
                values.faceIndices.push_back(static_cast<int>(packed->indices[k]));
            }
        } else {
            for (const auto& [index, element] : fc->elements) {
                const PolyFace* face = polyFaceIn(element.data);
                values.faces.push_back(face ? *face : PolyFace());
                values.faceIndices.push_back(static_cast<int>(index));
            }
        }
    }
    if (Slot* uvst = graph.pull(arrayPlug(node, MeshNode::uvSets)))
        for (const auto& [index, element] : uvst->elements) {
            MeshAttributeValues::UVSet set;
            set.index = static_cast<int>(index);
            if (element.children.size() >= 2) {
                set.name = element.children[0].text.asChar();
                const Slot& points = element.children[1];
                const size_t count = lastIndex(points) + 1;
                set.u.assign(count, 0.0f);
                set.v.assign(count, 0.0f);
                forEachNumericElement(points, def(MeshNode::uvSetPoints),
                                      [&](unsigned int uvIndex, const double* uv) {
                                          set.u[uvIndex] = static_cast<float>(uv[0]);
                                          set.v[uvIndex] = static_cast<float>(uv[1]);
                                      });
            }
            values.uvSets.push_back(std::move(set));
        }
    if (Slot* current = graph.pull(PlugRef{&node, def(MeshNode::currentUVSet), {}}))
        values.currentUVSet = current->text.asChar();
    return values;
}

MStatus writeMeshAttributes(Node& node, const Mesh& mesh, std::string* error) {
    std::string ignored;
    std::string& message = error ? *error : ignored;
    if (!isMeshNode(&node)) {
        message = "'" + node.name() + "' is not a mesh";
        return MS::kInvalidParameter;
    }
    if (Graph::instance().incomingTo(PlugRef{&node, def(MeshNode::inMesh), {}})) {
        message = "the mesh of '" + node.name() + "' comes from its input connection";
        return MS::kFailure;
    }
    const MeshAttributeValues values = meshAttributeValues(mesh);
    Graph& graph = Graph::instance();
    auto fill = [&](const MObject& attribute, const std::function<void(Slot&)>& write) {
        return graph.setValue(
            arrayPlug(node, attribute),
            [&](Slot& container) {
                container.elements.clear();
                write(container);
            },
            &message);
    };
    // Numbers go in packed, as a file's ranges do.
    auto pack = [](Slot& container, const MObject& attribute, std::vector<double> numbers) {
        const AttributeDef* array = def(attribute);
        PackedElements* packed = container.elements.packedForWrite(array);
        const size_t width = array->children.size();
        for (size_t i = 0; i < numbers.size(); ++i)
            numbers[i] = storedNumber(array->children[i % width].get(), numbers[i]);
        packed->assign(0, numbers.size() / width, numbers.data());
    };
    MStatus status = fill(MeshNode::vertices, [&](Slot& container) {
        std::vector<double> numbers;
        for (const MPoint& p : values.vertices)
            numbers.insert(numbers.end(), {p.x, p.y, p.z});
        pack(container, MeshNode::vertices, std::move(numbers));
    });
    if (status)
        status = fill(MeshNode::tweaks, [](Slot&) {});
    if (status)
        status = fill(MeshNode::edges, [&](Slot& container) {
            std::vector<double> numbers;
            for (const MeshAttributeValues::Edge& edge : values.edges)
                numbers.insert(numbers.end(),
                               {double(edge.v0), double(edge.v1), edge.hard ? 1.0 : 0.0});
            pack(container, MeshNode::edges, std::move(numbers));
        });
    if (status)
        status = fill(MeshNode::faces, [&](Slot& container) {
            std::vector<int> ints;
            std::vector<size_t> starts;
            for (const PolyFace& face : values.faces) {
                starts.push_back(ints.size());
                encodePolyFace(face, ints);
            }
            container.elements.packedDataForWrite(def(MeshNode::faces), &polyFacesCodec())
                ->assignData(0, ints, starts);
        });
    if (status)
        status = fill(MeshNode::uvSets, [&](Slot& container) {
            for (const MeshAttributeValues::UVSet& set : values.uvSets) {
                Slot element = Slot::make(def(MeshNode::uvSets), false);
                element.children[0].text = set.name.c_str();
                std::vector<double> numbers;
                for (size_t k = 0; k < set.u.size(); ++k)
                    numbers.insert(numbers.end(), {set.u[k], set.v[k]});
                pack(element.children[1], MeshNode::uvSetPoints, std::move(numbers));
                container.elements.emplace(static_cast<unsigned int>(set.index),
                                           std::move(element));
            }
        });
    if (status)
        status = graph.setValue(
            PlugRef{&node, def(MeshNode::currentUVSet), {}},
            [&](Slot& slot) { slot.text = values.currentUVSet.c_str(); }, &message);
    return status;
}

void registerMeshType(TypeRegistry& registry) {
    // Maya's own id for the type ('DMSH'), outside the ranges plug-ins are given.
    NodeType* type = registry.registerBuiltin("mesh", MTypeId(0x444d5348), &MeshNode::creator,
                                              MPxNode::kSurfaceShape, MFn::kMesh, true, true,
                                              &MeshNode::initialize);
    type->worldOutputs.push_back(attributeDef(MeshNode::worldMesh));
    registerPolyFacesFormat();
    registerPolyComponentFormat();
}

} // namespace host
