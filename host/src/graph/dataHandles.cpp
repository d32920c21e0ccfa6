// Data handles and the data block: the compute's view of a node's slots.

#include "graph/statusOut.h"
#include "data/dataObjects.h"
#include "data/matrixData.h"
#include "graph/graph.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFloatVector.h>
#include <maya/MVector.h>

using host::AttributeDef;
using host::Graph;
using host::PlugRef;
using host::Slot;

using host::report;

namespace {

// Handles on nothing read and write this scratch slot, so misuse never crashes.
Slot& scratch() {
    static Slot slot;
    return slot;
}

double componentValue(const Slot& parent, const AttributeDef* attribute, size_t i) {
    if (i >= parent.children.size() || i >= attribute->children.size())
        return 0.0;
    return parent.children[i].get(attribute->children[i].get());
}

void setComponents(Slot* slot, const AttributeDef* attribute,
                   std::initializer_list<double> values) {
    if (!slot || !attribute)
        return;
    size_t i = 0;
    for (double value : values) {
        if (i < slot->children.size() && i < attribute->children.size())
            slot->children[i].set(attribute->children[i].get(), value);
        ++i;
    }
}

PlugRef plugOf(host::Node* node, const AttributeDef* attribute) {
    return PlugRef{node, attribute,
                   std::vector<int>(static_cast<size_t>(attribute->arrayDepth()), -1)};
}

} // namespace

MDataHandle::MDataHandle(host::Node* node, const AttributeDef* attribute, Slot* slot)
    : node_(node), attribute_(attribute), slot_(slot) {}

bool MDataHandle::isNumeric() const {
    return attribute_ && attribute_->isNumericLike();
}

bool MDataHandle::isGeneric(bool& isNumeric, bool& isNull) const {
    isNumeric = this->isNumeric();
    isNull = !slot_;
    return false;
}

MFnData::Type MDataHandle::type() const {
    if (!attribute_)
        return MFnData::kInvalid;
    if (attribute_->isNumericLike() || attribute_->numericCompound)
        return MFnData::kNumeric;
    return attribute_->dataType;
}

MTypeId MDataHandle::typeId() const {
    MPxData* data = asPluginData();
    return data ? data->typeId() : MTypeId();
}

MObject MDataHandle::attribute() {
    return host::attributeObject(attribute_);
}

#define SCALAR_ACCESS(T, name, member)                                                             \
    T& MDataHandle::name() const {                                                                 \
        return (slot_ ? *slot_ : scratch()).number.member;                                         \
    }
SCALAR_ACCESS(bool, asBool, b)
SCALAR_ACCESS(char, asChar, c)
SCALAR_ACCESS(short, asShort, s)
SCALAR_ACCESS(int, asInt, i)
SCALAR_ACCESS(float, asFloat, f)
SCALAR_ACCESS(double, asDouble, d)
#undef SCALAR_ACCESS

// Numeric compounds keep their components in child slots; these gather them into the
// parent's component buffer so a reference can be handed out.
double3& MDataHandle::asDouble3() const {
    Slot& slot = slot_ ? *slot_ : scratch();
    for (size_t i = 0; i < 3; ++i)
        slot.components.d[i] = attribute_ ? componentValue(slot, attribute_, i) : 0.0;
    return *reinterpret_cast<double3*>(slot.components.d);
}

float3& MDataHandle::asFloat3() const {
    Slot& slot = slot_ ? *slot_ : scratch();
    for (size_t i = 0; i < 3; ++i)
        slot.components.f[i] =
            static_cast<float>(attribute_ ? componentValue(slot, attribute_, i) : 0.0);
    return *reinterpret_cast<float3*>(slot.components.f);
}

double2& MDataHandle::asDouble2() const {
    Slot& slot = slot_ ? *slot_ : scratch();
    for (size_t i = 0; i < 2; ++i)
        slot.components.d[i] = attribute_ ? componentValue(slot, attribute_, i) : 0.0;
    return *reinterpret_cast<double2*>(slot.components.d);
}

float2& MDataHandle::asFloat2() const {
    Slot& slot = slot_ ? *slot_ : scratch();
    for (size_t i = 0; i < 2; ++i)
        slot.components.f[i] =
            static_cast<float>(attribute_ ? componentValue(slot, attribute_, i) : 0.0);
    return *reinterpret_cast<float2*>(slot.components.f);
}

int2& MDataHandle::asInt2() const {
    Slot& slot = slot_ ? *slot_ : scratch();
    for (size_t i = 0; i < 2; ++i)
        slot.components.i[i] =
            static_cast<int>(attribute_ ? componentValue(slot, attribute_, i) : 0.0);
    return *reinterpret_cast<int2*>(slot.components.i);
}

MVector& MDataHandle::asVector() const {
    static_assert(sizeof(MVector) == 3 * sizeof(double), "MVector is three doubles");
    return *reinterpret_cast<MVector*>(&asDouble3());
}

MFloatVector& MDataHandle::asFloatVector() const {
    static_assert(sizeof(MFloatVector) == 3 * sizeof(float), "MFloatVector is three floats");
    return *reinterpret_cast<MFloatVector*>(&asFloat3());
}

MString& MDataHandle::asString() const {
    return (slot_ ? *slot_ : scratch()).text;
}

MObject MDataHandle::data() const {
    if (!slot_ || !attribute_)
        return MObject();
    if (attribute_->kind == AttributeDef::Kind::Typed && attribute_->dataType == MFnData::kString)
        return host::makeStringData(slot_->text);
    return slot_->data;
}

const MMatrix& MDataHandle::asMatrix() const {
    return host::matrixIn(slot_ ? slot_->data : MObject());
}

void MDataHandle::set(const MMatrix& value) {
    if (slot_ && attribute_ && attribute_->kind == AttributeDef::Kind::Typed)
        slot_->data = host::makeMatrixData(value);
}

MPxData* MDataHandle::asPluginData() const {
    if (!slot_)
        return nullptr;
    host::PluginData* data = host::dataAs<host::PluginData>(slot_->data);
    return data ? data->data.get() : nullptr;
}

#define SCALAR_SET(T)                                                                              \
    void MDataHandle::set(T value) {                                                               \
        if (slot_ && attribute_ && attribute_->isNumericLike())                                    \
            slot_->set(attribute_, static_cast<double>(value));                                    \
    }
SCALAR_SET(bool)
SCALAR_SET(char)
SCALAR_SET(short)
SCALAR_SET(int)
SCALAR_SET(float)
SCALAR_SET(double)
#undef SCALAR_SET

void MDataHandle::set(const MVector& value) {
    set3Double(value.x, value.y, value.z);
}
void MDataHandle::set(const MFloatVector& value) {
    set3Float(value.x, value.y, value.z);
}
void MDataHandle::set(const MString& value) {
    if (slot_)
        slot_->text = value;
}
void MDataHandle::set2Int(int a, int b) {
    setComponents(slot_, attribute_, {double(a), double(b)});
}
void MDataHandle::set2Float(float a, float b) {
    setComponents(slot_, attribute_, {double(a), double(b)});
}
void MDataHandle::set2Double(double a, double b) {
    setComponents(slot_, attribute_, {a, b});
}
void MDataHandle::set3Int(int a, int b, int c) {
    setComponents(slot_, attribute_, {double(a), double(b), double(c)});
}
void MDataHandle::set3Float(float a, float b, float c) {
    setComponents(slot_, attribute_, {double(a), double(b), double(c)});
}
void MDataHandle::set3Double(double a, double b, double c) {
    setComponents(slot_, attribute_, {a, b, c});
}

MStatus MDataHandle::set(const MObject& data) {
    if (!slot_ || !attribute_ || attribute_->kind != AttributeDef::Kind::Typed)
        return MS::kInvalidParameter;
    if (host::StringData* text = host::dataAs<host::StringData>(data))
        slot_->text = text->value;
    else
        slot_->data = data;
    return MS::kSuccess;
}

MStatus MDataHandle::set(MPxData* data) {
    if (!slot_ || !attribute_ || attribute_->kind != AttributeDef::Kind::Typed || !data)
        return MS::kInvalidParameter;
    // The handle takes ownership, as in Maya.
    slot_->data = MObject(std::make_shared<host::PluginData>(data));
    return MS::kSuccess;
}

MStatus MDataHandle::copy(const MDataHandle& source) {
    if (!slot_ || !source.slot_ || !attribute_ || !source.attribute_)
        return MS::kInvalidParameter;
    slot_->copyValue(attribute_, *source.slot_, source.attribute_);
    return MS::kSuccess;
}

MDataHandle MDataHandle::child(const MObject& attribute) {
    const AttributeDef* def = host::attributeDef(attribute);
    int index = attribute_ && def ? attribute_->childIndex(def) : -1;
    if (!slot_ || index < 0 || index >= static_cast<int>(slot_->children.size()))
        return MDataHandle();
    return MDataHandle(node_, def, &slot_->children[static_cast<size_t>(index)]);
}

void MDataHandle::setClean() {
    if (slot_)
        slot_->setDirtyTree(false);
}

// MArrayDataHandle

MArrayDataHandle::MArrayDataHandle(const MDataHandle& handle)
    : attribute_(handle.attributeDef()), slot_(handle.slot()) {}

MArrayDataHandle::MArrayDataHandle(host::Node* node, const AttributeDef* attribute, Slot* slot,
                                   bool pull)
    : node_(node), attribute_(attribute), slot_(slot), pull_(pull) {}

namespace {
Slot* elementAt(Slot* container, unsigned int position, unsigned int* logical = nullptr) {
    if (!container || position >= container->elements.size())
        return nullptr;
    auto it = container->elements.begin();
    std::advance(it, position);
    if (logical)
        *logical = it->first;
    return &it->second;
}
} // namespace

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    Slot* element = elementAt(slot_, position_);
    report(status, element ? MS::kSuccess : MS::kInvalidParameter);
    return element ? MDataHandle(node_, attribute_, element) : MDataHandle();
}

MDataHandle MArrayDataHandle::outputValue(MStatus* status) {
    return inputValue(status);
}

MArrayDataHandle MArrayDataHandle::inputArrayValue(MStatus* status) {
    Slot* element = elementAt(slot_, position_);
    report(status, element ? MS::kSuccess : MS::kInvalidParameter);
    return MArrayDataHandle(node_, attribute_, element, pull_);
}

MArrayDataHandle MArrayDataHandle::outputArrayValue(MStatus* status) {
    return inputArrayValue(status);
}

MStatus MArrayDataHandle::next() {
    if (!slot_ || position_ + 1 >= slot_->elements.size()) {
        if (slot_)
            position_ = static_cast<unsigned int>(slot_->elements.size());
        return MS::kFailure;
    }
    ++position_;
    return MS::kSuccess;
}

unsigned int MArrayDataHandle::elementCount(MStatus* status) {
    report(status, slot_ ? MS::kSuccess : MS::kFailure);
    return slot_ ? static_cast<unsigned int>(slot_->elements.size()) : 0;
}

unsigned int MArrayDataHandle::elementIndex(MStatus* status) {
    unsigned int logical = 0;
    Slot* element = elementAt(slot_, position_, &logical);
    report(status, element ? MS::kSuccess : MS::kFailure);
    return element ? logical : static_cast<unsigned int>(-1);
}

MStatus MArrayDataHandle::jumpToElement(unsigned int logicalIndex) {
    if (!slot_)
        return MS::kFailure;
    auto it = slot_->elements.find(logicalIndex);
    if (it == slot_->elements.end())
        return MS::kInvalidParameter;
    position_ = static_cast<unsigned int>(std::distance(slot_->elements.begin(), it));
    return MS::kSuccess;
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned int physicalIndex) {
    if (!slot_ || physicalIndex >= slot_->elements.size())
        return MS::kInvalidParameter;
    position_ = physicalIndex;
    return MS::kSuccess;
}

MStatus MArrayDataHandle::setClean() {
    if (!slot_)
        return MS::kFailure;
    slot_->dirty = false;
    return MS::kSuccess;
}

MStatus MArrayDataHandle::setAllClean() {
    if (!slot_)
        return MS::kFailure;
    slot_->setDirtyTree(false);
    return MS::kSuccess;
}

MArrayDataBuilder MArrayDataHandle::builder(MStatus* status) {
    report(status, slot_ ? MS::kSuccess : MS::kFailure);
    return MArrayDataBuilder(node_, attribute_, slot_ ? *slot_ : scratch());
}

MStatus MArrayDataHandle::set(MArrayDataBuilder& builder) {
    if (!slot_ || !builder.elements())
        return MS::kFailure;
    slot_->elements = builder.elements()->elements;
    position_ = 0;
    return MS::kSuccess;
}

// MArrayDataBuilder

MArrayDataBuilder::MArrayDataBuilder(host::Node* node, const AttributeDef* attribute,
                                     const Slot& current)
    : node_(node), attribute_(attribute), elements_(std::make_shared<Slot>(current)) {
    elements_->container = true;
}

MArrayDataBuilder::MArrayDataBuilder(const MObject& attribute, unsigned int, MStatus* status)
    : attribute_(host::attributeDef(attribute)), elements_(std::make_shared<Slot>()) {
    elements_->container = true;
    report(status, attribute_ && attribute_->array ? MS::kSuccess : MS::kInvalidParameter);
}

MArrayDataBuilder::MArrayDataBuilder(MDataBlock*, const MObject& attribute,
                                     unsigned int numElements, MStatus* status)
    : MArrayDataBuilder(attribute, numElements, status) {}

MDataHandle MArrayDataBuilder::addElement(unsigned int index, MStatus* status) {
    if (!attribute_ || index > 0x7fffffffu) {
        report(status, MS::kInvalidParameter);
        return MDataHandle();
    }
    auto it = elements_->elements.find(index);
    if (it == elements_->elements.end())
        it = elements_->elements.emplace(index, Slot::make(attribute_, false)).first;
    report(status, MS::kSuccess);
    return MDataHandle(node_, attribute_, &it->second);
}

MDataHandle MArrayDataBuilder::addLast(MStatus* status) {
    unsigned int index = elements_->elements.empty() ? 0 : elements_->elements.rbegin()->first + 1;
    return addElement(index, status);
}

MStatus MArrayDataBuilder::removeElement(unsigned int index) {
    return elements_->elements.erase(index) ? MS::kSuccess : MS::kInvalidParameter;
}

unsigned int MArrayDataBuilder::elementCount(MStatus* status) const {
    report(status, MS::kSuccess);
    return static_cast<unsigned int>(elements_->elements.size());
}

MStatus MArrayDataBuilder::growArray(unsigned int) {
    return MS::kSuccess;
}

// MDataBlock

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* status) {
    PlugRef ref = Graph::fromMPlug(plug);
    Slot* slot = ref.node == node_ ? Graph::instance().pull(ref) : nullptr;
    report(status, slot ? MS::kSuccess : MS::kInvalidParameter);
    return slot ? MDataHandle(node_, ref.attribute, slot) : MDataHandle();
}

MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* status) {
    const AttributeDef* def = host::attributeDef(attribute);
    if (!def || !node_) {
        report(status, MS::kInvalidParameter);
        return MDataHandle();
    }
    return inputValue(Graph::toMPlug(plugOf(node_, def)), status);
}

MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* status) {
    PlugRef ref = Graph::fromMPlug(plug);
    Slot* slot = ref.node == node_ && ref.attribute ? node_->slot(ref.attribute, ref.indices, true)
                                                    : nullptr;
    report(status, slot ? MS::kSuccess : MS::kInvalidParameter);
    return slot ? MDataHandle(node_, ref.attribute, slot) : MDataHandle();
}

MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* status) {
    const AttributeDef* def = host::attributeDef(attribute);
    if (!def || !node_) {
        report(status, MS::kInvalidParameter);
        return MDataHandle();
    }
    return outputValue(Graph::toMPlug(plugOf(node_, def)), status);
}

MArrayDataHandle MDataBlock::inputArrayValue(const MPlug& plug, MStatus* status) {
    MDataHandle handle = inputValue(plug, status);
    return MArrayDataHandle(node_, handle.attributeDef(), handle.slot(), true);
}

MArrayDataHandle MDataBlock::inputArrayValue(const MObject& attribute, MStatus* status) {
    MDataHandle handle = inputValue(attribute, status);
    return MArrayDataHandle(node_, handle.attributeDef(), handle.slot(), true);
}

MArrayDataHandle MDataBlock::outputArrayValue(const MPlug& plug, MStatus* status) {
    MDataHandle handle = outputValue(plug, status);
    return MArrayDataHandle(node_, handle.attributeDef(), handle.slot(), false);
}

MArrayDataHandle MDataBlock::outputArrayValue(const MObject& attribute, MStatus* status) {
    MDataHandle handle = outputValue(attribute, status);
    return MArrayDataHandle(node_, handle.attributeDef(), handle.slot(), false);
}

MStatus MDataBlock::setClean(const MPlug& plug) {
    PlugRef ref = Graph::fromMPlug(plug);
    Slot* slot = ref.node == node_ && ref.attribute ? node_->slot(ref.attribute, ref.indices, false)
                                                    : nullptr;
    if (!slot)
        return MS::kInvalidParameter;
    slot->setDirtyTree(false);
    return MS::kSuccess;
}

MStatus MDataBlock::setClean(const MObject& attribute) {
    const AttributeDef* def = host::attributeDef(attribute);
    if (!def || !node_)
        return MS::kInvalidParameter;
    return setClean(Graph::toMPlug(plugOf(node_, def)));
}

bool MDataBlock::isClean(const MPlug& plug, MStatus* status) {
    PlugRef ref = Graph::fromMPlug(plug);
    Slot* slot = ref.node == node_ && ref.attribute ? node_->slot(ref.attribute, ref.indices, false)
                                                    : nullptr;
    report(status, slot ? MS::kSuccess : MS::kInvalidParameter);
    return slot && !slot->dirty;
}

bool MDataBlock::isClean(const MObject& attribute, MStatus* status) {
    const AttributeDef* def = host::attributeDef(attribute);
    if (!def || !node_) {
        report(status, MS::kInvalidParameter);
        return false;
    }
    return isClean(Graph::toMPlug(plugOf(node_, def)), status);
}
