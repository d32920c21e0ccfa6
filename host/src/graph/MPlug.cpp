#include "graph/statusOut.h"
#include "data/dataObjects.h"
#include "graph/graph.h"

#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <cmath>
#include <set>
#include <sstream>

using host::AttributeDef;
using host::Graph;
using host::PlugRef;
using host::Slot;

using host::report;

namespace {

bool isArrayLevel(const PlugRef& ref) {
    return ref.attribute->array && !ref.indices.empty() && ref.indices.back() < 0;
}

bool isElementLevel(const PlugRef& ref) {
    return ref.attribute->array && !ref.indices.empty() && ref.indices.back() >= 0;
}

// Writes a number set through the API, clamped into the attribute's hard limits.
MStatus setNumber(const MPlug& plug, double value) {
    std::string error;
    MStatus status = Graph::instance().setNumber(Graph::fromMPlug(plug), value, &error);
    if (!status)
        MGlobal::displayError(error.c_str());
    return status;
}

MStatus getNumber(const MPlug& plug, double& value) {
    PlugRef ref = Graph::fromMPlug(plug);
    if (!ref.node || !ref.attribute || !ref.attribute->isNumericLike() ||
        !ref.attribute->children.empty())
        return MS::kInvalidParameter;
    Slot* slot = Graph::instance().pull(ref);
    if (!slot)
        return MS::kFailure;
    value = slot->get(ref.attribute);
    return MS::kSuccess;
}

template <class T> T numberAs(const MPlug& plug, MStatus* status) {
    double value = 0.0;
    MStatus result = getNumber(plug, value);
    report(status, result);
    return result ? static_cast<T>(value) : T();
}

} // namespace

MPlug::MPlug(const MObject& node, const MObject& attribute) : node_(node), attribute_(attribute) {
    if (AttributeDef* def = host::attributeDef(attribute))
        indices_.assign(static_cast<size_t>(def->arrayDepth()), -1);
}

MPlug::MPlug(const MObject& node, const MObject& attribute, std::vector<int> indices)
    : node_(node), attribute_(attribute), indices_(std::move(indices)) {
    if (AttributeDef* def = host::attributeDef(attribute))
        indices_.resize(static_cast<size_t>(def->arrayDepth()), -1);
}

bool MPlug::isNull(MStatus* status) const {
    report(status, MS::kSuccess);
    return !host::nodeOf(node_) || !host::attributeDef(attribute_);
}

MObject MPlug::node(MStatus* status) const {
    report(status, node_.isNull() ? MS::kFailure : MS::kSuccess);
    return node_;
}

MObject MPlug::attribute(MStatus* status) const {
    report(status, attribute_.isNull() ? MS::kFailure : MS::kSuccess);
    return attribute_;
}

MString MPlug::name(MStatus* status) const {
    report(status, isNull() ? MS::kFailure : MS::kSuccess);
    return isNull() ? MString() : MString(Graph::plugName(Graph::fromMPlug(*this)).c_str());
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames,
                           MStatus* status) const {
    report(status, isNull() ? MS::kFailure : MS::kSuccess);
    if (isNull())
        return MString();
    const PlugRef plug = Graph::fromMPlug(*this);
    return MString((includeNodeName ? Graph::plugName(plug, useLongNames)
                                    : Graph::attributePath(plug, useLongNames))
                       .c_str());
}

bool MPlug::isArray(MStatus* status) const {
    report(status, MS::kSuccess);
    return !isNull() && isArrayLevel(Graph::fromMPlug(*this));
}

bool MPlug::isElement(MStatus* status) const {
    report(status, MS::kSuccess);
    return !isNull() && isElementLevel(Graph::fromMPlug(*this));
}

bool MPlug::isCompound(MStatus* status) const {
    report(status, MS::kSuccess);
    AttributeDef* def = host::attributeDef(attribute_);
    return def && def->isCompound();
}

bool MPlug::isChild(MStatus* status) const {
    report(status, MS::kSuccess);
    AttributeDef* def = host::attributeDef(attribute_);
    return def && def->parent;
}

bool MPlug::isDestination(MStatus* status) const {
    report(status, MS::kSuccess);
    return !isNull() && Graph::instance().incomingTo(Graph::fromMPlug(*this));
}

bool MPlug::isSource(MStatus* status) const {
    report(status, MS::kSuccess);
    return !isNull() &&
           !Graph::instance().connectionsOf(Graph::fromMPlug(*this), false, true).empty();
}

bool MPlug::isConnected(MStatus* status) const {
    return isDestination(status) || isSource(status);
}

bool MPlug::isNetworked(MStatus* status) const {
    return isConnected(status);
}

bool MPlug::isKeyable(MStatus* status) const {
    report(status, MS::kSuccess);
    AttributeDef* def = host::attributeDef(attribute_);
    return def && def->keyable;
}

bool MPlug::isLocked(MStatus* status) const {
    report(status, MS::kSuccess);
    host::Node* node = host::nodeOf(node_);
    return node && node->lockedPlugs.count(Graph::attributePath(Graph::fromMPlug(*this)));
}

MStatus MPlug::setLocked(bool locked) {
    host::Node* node = host::nodeOf(node_);
    if (!node || isNull())
        return MS::kFailure;
    std::string name = Graph::attributePath(Graph::fromMPlug(*this));
    if (locked)
        node->lockedPlugs.insert(name);
    else
        node->lockedPlugs.erase(name);
    return MS::kSuccess;
}

unsigned int MPlug::logicalIndex(MStatus* status) const {
    if (isNull() || !isElementLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return static_cast<unsigned int>(-1);
    }
    report(status, MS::kSuccess);
    return static_cast<unsigned int>(indices_.back());
}

MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* status) const {
    if (isNull() || !isArrayLevel(Graph::fromMPlug(*this)) || logicalIndex > 0x7fffffffu) {
        report(status, MS::kFailure);
        return MPlug();
    }
    report(status, MS::kSuccess);
    std::vector<int> indices = indices_;
    indices.back() = static_cast<int>(logicalIndex);
    return MPlug(node_, attribute_, indices);
}

namespace {
// Logical indices of the array's elements: stored ones and those with connections.
std::vector<unsigned int> elementIndices(const MPlug& plug) {
    PlugRef ref = Graph::fromMPlug(plug);
    std::set<unsigned int> indices;
    if (Slot* slot = ref.node->slot(ref.attribute, ref.indices, false))
        for (const auto& entry : slot->elements)
            indices.insert(entry.first);
    size_t level = ref.indices.size() - 1;
    for (const auto* list : {&ref.node->incoming, &ref.node->outgoing})
        for (const auto& c : *list) {
            const PlugRef& end = list == &ref.node->incoming ? c->destination : c->source;
            if (ref.covers(end) && level < end.indices.size() && end.indices[level] >= 0)
                indices.insert(static_cast<unsigned int>(end.indices[level]));
        }
    return std::vector<unsigned int>(indices.begin(), indices.end());
}
} // namespace

MPlug MPlug::elementByPhysicalIndex(unsigned int physicalIndex, MStatus* status) const {
    if (isNull() || !isArrayLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return MPlug();
    }
    std::vector<unsigned int> indices = elementIndices(*this);
    if (physicalIndex >= indices.size()) {
        report(status, MS::kFailure);
        return MPlug();
    }
    return elementByLogicalIndex(indices[physicalIndex], status);
}

unsigned int MPlug::numElements(MStatus* status) const {
    if (isNull() || !isArrayLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return 0;
    }
    report(status, MS::kSuccess);
    return static_cast<unsigned int>(elementIndices(*this).size());
}

unsigned int MPlug::evaluateNumElements(MStatus* status) const {
    if (!isNull())
        Graph::instance().pull(Graph::fromMPlug(*this));
    return numElements(status);
}

unsigned int MPlug::numConnectedElements(MStatus* status) const {
    if (isNull() || !isArrayLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return 0;
    }
    report(status, MS::kSuccess);
    PlugRef ref = Graph::fromMPlug(*this);
    size_t level = ref.indices.size() - 1;
    std::set<int> connected;
    for (const auto* list : {&ref.node->incoming, &ref.node->outgoing})
        for (const auto& c : *list) {
            const PlugRef& end = list == &ref.node->incoming ? c->destination : c->source;
            if (ref.covers(end) && level < end.indices.size() && end.indices[level] >= 0)
                connected.insert(end.indices[level]);
        }
    return static_cast<unsigned int>(connected.size());
}

int MPlug::getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status) {
    indices.clear();
    if (isNull() || !isArrayLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return 0;
    }
    report(status, MS::kSuccess);
    for (unsigned int index : elementIndices(*this))
        indices.append(static_cast<int>(index));
    return static_cast<int>(indices.length());
}

MPlug MPlug::array(MStatus* status) const {
    if (isNull() || !isElementLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return MPlug();
    }
    report(status, MS::kSuccess);
    std::vector<int> indices = indices_;
    indices.back() = -1;
    return MPlug(node_, attribute_, indices);
}

MPlug MPlug::parent(MStatus* status) const {
    AttributeDef* def = host::attributeDef(attribute_);
    if (isNull() || !def->parent) {
        report(status, MS::kFailure);
        return MPlug();
    }
    report(status, MS::kSuccess);
    std::vector<int> indices = indices_;
    if (def->array && !indices.empty())
        indices.pop_back();
    return MPlug(node_, host::attributeObject(def->parent), indices);
}

unsigned int MPlug::numChildren(MStatus* status) const {
    AttributeDef* def = host::attributeDef(attribute_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def ? static_cast<unsigned int>(def->children.size()) : 0;
}

MPlug MPlug::child(unsigned int index, MStatus* status) const {
    AttributeDef* def = host::attributeDef(attribute_);
    if (isNull() || index >= def->children.size() || isArrayLevel(Graph::fromMPlug(*this))) {
        report(status, MS::kFailure);
        return MPlug();
    }
    report(status, MS::kSuccess);
    std::vector<int> indices = indices_;
    if (def->children[index]->array)
        indices.push_back(-1);
    return MPlug(node_, MObject(def->children[index]), indices);
}

MPlug MPlug::child(const MObject& attribute, MStatus* status) const {
    AttributeDef* def = host::attributeDef(attribute_);
    int index = def ? def->childIndex(host::attributeDef(attribute)) : -1;
    if (index < 0) {
        report(status, MS::kFailure);
        return MPlug();
    }
    return child(static_cast<unsigned int>(index), status);
}

MStatus MPlug::selectAncestorLogicalIndex(unsigned int index, const MObject& attribute) {
    AttributeDef* def = host::attributeDef(attribute_);
    if (!def || index > 0x7fffffffu)
        return MS::kFailure;
    AttributeDef* target = attribute.isNull() ? nullptr : host::attributeDef(attribute);
    size_t level = 0;
    int chosen = -1;
    for (const AttributeDef* a : def->chain()) {
        if (!a->array)
            continue;
        if (target ? a == target : a != def)
            chosen = static_cast<int>(level);
        ++level;
    }
    if (chosen < 0)
        return MS::kFailure;
    indices_[static_cast<size_t>(chosen)] = static_cast<int>(index);
    return MS::kSuccess;
}

bool MPlug::connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status) const {
    plugs.clear();
    if (isNull()) {
        report(status, MS::kFailure);
        return false;
    }
    report(status, MS::kSuccess);
    PlugRef ref = Graph::fromMPlug(*this);
    for (const host::Connection* c : Graph::instance().connectionsOf(ref, asDst, false))
        plugs.append(Graph::toMPlug(c->source));
    for (const host::Connection* c : Graph::instance().connectionsOf(ref, false, asSrc))
        plugs.append(Graph::toMPlug(c->destination));
    return plugs.length() > 0;
}

MStatus MPlug::getValue(bool& value) const {
    double number = 0.0;
    MStatus status = getNumber(*this, number);
    if (status)
        value = number != 0.0;
    return status;
}

#define NUMBER_GETTER(T)                                                                           \
    MStatus MPlug::getValue(T& value) const {                                                      \
        double number = 0.0;                                                                       \
        MStatus status = getNumber(*this, number);                                                 \
        if (status)                                                                                \
            value = static_cast<T>(number);                                                        \
        return status;                                                                             \
    }
NUMBER_GETTER(char)
NUMBER_GETTER(short)
NUMBER_GETTER(int)
NUMBER_GETTER(float)
NUMBER_GETTER(double)
#undef NUMBER_GETTER

MStatus MPlug::getValue(MString& value) const {
    PlugRef ref = Graph::fromMPlug(*this);
    if (!ref.node || !ref.attribute || ref.attribute->kind != AttributeDef::Kind::Typed)
        return MS::kInvalidParameter;
    Slot* slot = Graph::instance().pull(ref);
    if (!slot)
        return MS::kFailure;
    value = slot->text;
    return MS::kSuccess;
}

MStatus MPlug::getValue(MObject& value) const {
    PlugRef ref = Graph::fromMPlug(*this);
    if (!ref.node || !ref.attribute || ref.attribute->kind != AttributeDef::Kind::Typed)
        return MS::kInvalidParameter;
    Slot* slot = Graph::instance().pull(ref);
    if (!slot)
        return MS::kFailure;
    value =
        ref.attribute->dataType == MFnData::kString ? host::makeStringData(slot->text) : slot->data;
    return MS::kSuccess;
}

MStatus MPlug::setValue(bool value) {
    return setNumber(*this, value ? 1.0 : 0.0);
}
MStatus MPlug::setValue(char value) {
    return setNumber(*this, value);
}
MStatus MPlug::setValue(short value) {
    return setNumber(*this, value);
}
MStatus MPlug::setValue(int value) {
    return setNumber(*this, value);
}
MStatus MPlug::setValue(float value) {
    return setNumber(*this, value);
}
MStatus MPlug::setValue(double value) {
    return setNumber(*this, value);
}
MStatus MPlug::setValue(const char* value) {
    return setValue(MString(value));
}

MStatus MPlug::setValue(const MString& value) {
    PlugRef ref = Graph::fromMPlug(*this);
    if (!ref.node || !ref.attribute || ref.attribute->kind != AttributeDef::Kind::Typed ||
        ref.attribute->dataType != MFnData::kString)
        return MS::kInvalidParameter;
    std::string error;
    MStatus status = Graph::instance().setValue(
        ref, [&](Slot& slot) { slot.text = value; }, &error);
    if (!status)
        MGlobal::displayError(error.c_str());
    return status;
}

MStatus MPlug::setValue(MObject& value) {
    PlugRef ref = Graph::fromMPlug(*this);
    if (!ref.node || !ref.attribute || ref.attribute->kind != AttributeDef::Kind::Typed)
        return MS::kInvalidParameter;
    std::string error;
    MStatus status = Graph::instance().setValue(
        ref,
        [&](Slot& slot) {
            if (host::StringData* text = host::dataAs<host::StringData>(value))
                slot.text = text->value;
            else
                slot.data = value;
        },
        &error);
    if (!status)
        MGlobal::displayError(error.c_str());
    return status;
}

bool MPlug::asBool(MStatus* status) const {
    return numberAs<double>(*this, status) != 0.0;
}
char MPlug::asChar(MStatus* status) const {
    return numberAs<char>(*this, status);
}
short MPlug::asShort(MStatus* status) const {
    return numberAs<short>(*this, status);
}
int MPlug::asInt(MStatus* status) const {
    return numberAs<int>(*this, status);
}
float MPlug::asFloat(MStatus* status) const {
    return numberAs<float>(*this, status);
}
double MPlug::asDouble(MStatus* status) const {
    return numberAs<double>(*this, status);
}

MString MPlug::asString(MStatus* status) const {
    MString value;
    report(status, getValue(value));
    return value;
}

MObject MPlug::asMObject(MStatus* status) const {
    MObject value;
    report(status, getValue(value));
    return value;
}

bool MPlug::operator==(const MPlug& other) const {
    return node_ == other.node_ && attribute_ == other.attribute_ && indices_ == other.indices_;
}

bool MPlug::operator==(const MObject& attribute) const {
    return attribute_ == attribute;
}
