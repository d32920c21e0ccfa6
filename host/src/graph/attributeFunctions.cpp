// The attribute function sets: they create attribute definitions and read or change their
// names, flags, defaults and limits.

#include "graph/statusOut.h"
#include "graph/attributeDef.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

using host::AttributeDef;

using host::report;

namespace {


AttributeDef* defOf(const MObject& object) {
    return host::attributeDef(object);
}

MObject makeAttribute(MFnBase& fn, AttributeDef::Kind kind, const MString& name,
                      const MString& shortName, std::shared_ptr<AttributeDef>* out = nullptr) {
    auto def = std::make_shared<AttributeDef>();
    def->kind = kind;
    def->name = name.asChar();
    def->shortName = shortName.length() ? shortName.asChar() : name.asChar();
    MObject object(def);
    fn.setObject(object);
    if (out)
        *out = def;
    return object;
}

unsigned int components(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k2Int:
    case MFnNumericData::k2Float:
    case MFnNumericData::k2Double:
        return 2;
    case MFnNumericData::k3Short:
    case MFnNumericData::k3Int:
    case MFnNumericData::k3Float:
    case MFnNumericData::k3Double:
        return 3;
    case MFnNumericData::k4Double:
        return 4;
    default:
        return 1;
    }
}

MFnNumericData::Type scalarOf(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k3Short:
        return MFnNumericData::kShort;
    case MFnNumericData::k2Int:
    case MFnNumericData::k3Int:
        return MFnNumericData::kInt;
    case MFnNumericData::k2Float:
    case MFnNumericData::k3Float:
        return MFnNumericData::kFloat;
    case MFnNumericData::k2Double:
    case MFnNumericData::k3Double:
    case MFnNumericData::k4Double:
        return MFnNumericData::kDouble;
    default:
        return type;
    }
}

void addChild(AttributeDef* parent, const std::shared_ptr<AttributeDef>& child) {
    child->parent = parent;
    parent->children.push_back(child);
}

MObject makeNumericCompound(MFnNumericAttribute& fn, const MString& name, const MString& shortName,
                            MFnNumericData::Type type, const char* const suffixes[],
                            double defaultValue) {
    std::shared_ptr<AttributeDef> parent;
    MObject object = makeAttribute(fn, AttributeDef::Kind::Compound, name, shortName, &parent);
    parent->numericCompound = true;
    parent->numericType = type;
    unsigned int count = components(type);
    for (unsigned int i = 0; i < count; ++i) {
        auto child = std::make_shared<AttributeDef>();
        child->kind = AttributeDef::Kind::Numeric;
        child->numericType = scalarOf(type);
        child->name = std::string(name.asChar()) + suffixes[i];
        child->shortName = std::string(shortName.asChar()) + suffixes[i];
        child->defaultValue = defaultValue;
        addChild(parent.get(), child);
    }
    return object;
}

} // namespace

// MFnAttribute

MFnAttribute::MFnAttribute(const MObject& object, MStatus* status) {
    report(status, defOf(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

#define ATTRIBUTE_FLAG(getter, setter, field)                                                      \
    bool MFnAttribute::getter(MStatus* status) const {                                             \
        AttributeDef* def = defOf(object_);                                                        \
        report(status, def ? MS::kSuccess : MS::kFailure);                                         \
        return def && def->field;                                                                  \
    }                                                                                              \
    MStatus MFnAttribute::setter(bool state) {                                                     \
        AttributeDef* def = defOf(object_);                                                        \
        if (!def)                                                                                  \
            return MS::kFailure;                                                                   \
        def->field = state;                                                                        \
        return MS::kSuccess;                                                                       \
    }

ATTRIBUTE_FLAG(isReadable, setReadable, readable)
ATTRIBUTE_FLAG(isWritable, setWritable, writable)
ATTRIBUTE_FLAG(isConnectable, setConnectable, connectable)
ATTRIBUTE_FLAG(isStorable, setStorable, storable)
ATTRIBUTE_FLAG(isCached, setCached, cached)
ATTRIBUTE_FLAG(isArray, setArray, array)
ATTRIBUTE_FLAG(isKeyable, setKeyable, keyable)
ATTRIBUTE_FLAG(isHidden, setHidden, hidden)
ATTRIBUTE_FLAG(isChannelBoxFlagSet, setChannelBox, channelBox)
ATTRIBUTE_FLAG(isIndexMatters, setIndexMatters, indexMatters)
ATTRIBUTE_FLAG(internal, setInternal, internal)
ATTRIBUTE_FLAG(usesArrayDataBuilder, setUsesArrayDataBuilder, usesArrayDataBuilder)
#undef ATTRIBUTE_FLAG

bool MFnAttribute::isDynamic(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def && def->dynamic;
}

MString MFnAttribute::name() const {
    AttributeDef* def = defOf(object_);
    return def ? MString(def->name.c_str()) : MString();
}

MString MFnAttribute::shortName() const {
    AttributeDef* def = defOf(object_);
    return def ? MString(def->shortName.c_str()) : MString();
}

MObject MFnAttribute::parent(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def && def->parent ? MS::kSuccess : MS::kFailure);
    return def && def->parent ? host::attributeObject(def->parent) : MObject();
}

MFnAttribute::DisconnectBehavior MFnAttribute::disconnectBehavior(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def ? def->disconnectBehavior : kNothing;
}

MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior behavior) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->disconnectBehavior = behavior;
    return MS::kSuccess;
}

MStatus MFnAttribute::setNiceNameOverride(const MString&) {
    return defOf(object_) ? MS::kSuccess : MS::kFailure;
}
MStatus MFnAttribute::setAffectsWorldSpace(bool) {
    return defOf(object_) ? MS::kSuccess : MS::kFailure;
}
MStatus MFnAttribute::setRenderSource(bool) {
    return defOf(object_) ? MS::kSuccess : MS::kFailure;
}

// MFnNumericAttribute

MFnNumericAttribute::MFnNumericAttribute(const MObject& object, MStatus* status)
    : MFnAttribute(object, status) {}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    MFnNumericData::Type unitType, double defaultValue,
                                    MStatus* status) {
    if (unitType == MFnNumericData::kInvalid || unitType >= MFnNumericData::kLast) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    if (components(unitType) > 1) {
        static const char* const numbered[] = {"0", "1", "2", "3"};
        return makeNumericCompound(*this, fullName, briefName, unitType, numbered, defaultValue);
    }
    std::shared_ptr<AttributeDef> def;
    MObject object = makeAttribute(*this, AttributeDef::Kind::Numeric, fullName, briefName, &def);
    def->numericType = unitType;
    def->defaultValue = defaultValue;
    return object;
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    const MObject& child1, const MObject& child2,
                                    const MObject& child3, MStatus* status) {
    AttributeDef* a = defOf(child1);
    AttributeDef* b = defOf(child2);
    AttributeDef* c = defOf(child3);
    if (!a || !b || (!child3.isNull() && !c) || a->parent || b->parent || (c && c->parent)) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    std::shared_ptr<AttributeDef> parent;
    MObject object =
        makeAttribute(*this, AttributeDef::Kind::Compound, fullName, briefName, &parent);
    parent->numericCompound = true;
    for (const MObject* child : {&child1, &child2, &child3})
        if (!child->isNull())
            addChild(parent.get(), std::static_pointer_cast<AttributeDef>(child->impl()));
    report(status, MS::kSuccess);
    return object;
}

MObject MFnNumericAttribute::createColor(const MString& fullName, const MString& briefName,
                                         MStatus* status) {
    static const char* const rgb[] = {"R", "G", "B"};
    report(status, MS::kSuccess);
    MObject object =
        makeNumericCompound(*this, fullName, briefName, MFnNumericData::k3Float, rgb, 0.0);
    defOf(object)->usedAsColor = true;
    return object;
}

MObject MFnNumericAttribute::createPoint(const MString& fullName, const MString& briefName,
                                         MStatus* status) {
    static const char* const xyz[] = {"X", "Y", "Z"};
    report(status, MS::kSuccess);
    return makeNumericCompound(*this, fullName, briefName, MFnNumericData::k3Double, xyz, 0.0);
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def ? def->numericType : MFnNumericData::kInvalid;
}

MObject MFnNumericAttribute::child(unsigned int index, MStatus* status) const {
    AttributeDef* def = defOf(object_);
    if (!def || index >= def->children.size()) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    return MObject(def->children[index]);
}

namespace {
// Limits and defaults of a numeric compound live on its children.
std::vector<AttributeDef*> targets(AttributeDef* def) {
    std::vector<AttributeDef*> all;
    if (!def)
        return all;
    if (def->children.empty())
        all.push_back(def);
    for (const auto& child : def->children)
        all.push_back(child.get());
    return all;
}

MStatus setLimit(AttributeDef* def, std::initializer_list<double> values, bool isMin) {
    std::vector<AttributeDef*> all = targets(def);
    if (all.empty() || values.size() != all.size())
        return MS::kInvalidParameter;
    auto value = values.begin();
    for (AttributeDef* target : all) {
        (isMin ? target->hasMin : target->hasMax) = true;
        (isMin ? target->minValue : target->maxValue) = *value++;
    }
    return MS::kSuccess;
}

MStatus getLimit(AttributeDef* def, std::initializer_list<double*> values, bool isMin) {
    std::vector<AttributeDef*> all = targets(def);
    if (all.empty() || values.size() != all.size())
        return MS::kInvalidParameter;
    auto value = values.begin();
    for (AttributeDef* target : all) {
        if (!(isMin ? target->hasMin : target->hasMax))
            return MS::kFailure;
        **value++ = isMin ? target->minValue : target->maxValue;
    }
    return MS::kSuccess;
}

MStatus setDefaults(AttributeDef* def, std::initializer_list<double> values) {
    std::vector<AttributeDef*> all = targets(def);
    if (all.empty() || values.size() != all.size())
        return MS::kInvalidParameter;
    auto value = values.begin();
    for (AttributeDef* target : all)
        target->defaultValue = *value++;
    return MS::kSuccess;
}
} // namespace

bool MFnNumericAttribute::hasMin(MStatus* status) const {
    std::vector<AttributeDef*> all = targets(defOf(object_));
    report(status, all.empty() ? MS::kFailure : MS::kSuccess);
    return !all.empty() && all.front()->hasMin;
}
bool MFnNumericAttribute::hasMax(MStatus* status) const {
    std::vector<AttributeDef*> all = targets(defOf(object_));
    report(status, all.empty() ? MS::kFailure : MS::kSuccess);
    return !all.empty() && all.front()->hasMax;
}
bool MFnNumericAttribute::hasSoftMin(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def && def->hasSoftMin;
}
bool MFnNumericAttribute::hasSoftMax(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def && def->hasSoftMax;
}
MStatus MFnNumericAttribute::getMin(double& a) const {
    return getLimit(defOf(object_), {&a}, true);
}
MStatus MFnNumericAttribute::getMin(double& a, double& b) const {
    return getLimit(defOf(object_), {&a, &b}, true);
}
MStatus MFnNumericAttribute::getMin(double& a, double& b, double& c) const {
    return getLimit(defOf(object_), {&a, &b, &c}, true);
}
MStatus MFnNumericAttribute::getMax(double& a) const {
    return getLimit(defOf(object_), {&a}, false);
}
MStatus MFnNumericAttribute::getMax(double& a, double& b) const {
    return getLimit(defOf(object_), {&a, &b}, false);
}
MStatus MFnNumericAttribute::getMax(double& a, double& b, double& c) const {
    return getLimit(defOf(object_), {&a, &b, &c}, false);
}
MStatus MFnNumericAttribute::setMin(double a) {
    return setLimit(defOf(object_), {a}, true);
}
MStatus MFnNumericAttribute::setMin(double a, double b) {
    return setLimit(defOf(object_), {a, b}, true);
}
MStatus MFnNumericAttribute::setMin(double a, double b, double c) {
    return setLimit(defOf(object_), {a, b, c}, true);
}
MStatus MFnNumericAttribute::setMax(double a) {
    return setLimit(defOf(object_), {a}, false);
}
MStatus MFnNumericAttribute::setMax(double a, double b) {
    return setLimit(defOf(object_), {a, b}, false);
}
MStatus MFnNumericAttribute::setMax(double a, double b, double c) {
    return setLimit(defOf(object_), {a, b, c}, false);
}
MStatus MFnNumericAttribute::getSoftMin(double& value) const {
    AttributeDef* def = defOf(object_);
    if (!def || !def->hasSoftMin)
        return MS::kFailure;
    value = def->softMinValue;
    return MS::kSuccess;
}
MStatus MFnNumericAttribute::getSoftMax(double& value) const {
    AttributeDef* def = defOf(object_);
    if (!def || !def->hasSoftMax)
        return MS::kFailure;
    value = def->softMaxValue;
    return MS::kSuccess;
}
MStatus MFnNumericAttribute::setSoftMin(double value) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->hasSoftMin = true;
    def->softMinValue = value;
    return MS::kSuccess;
}
MStatus MFnNumericAttribute::setSoftMax(double value) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->hasSoftMax = true;
    def->softMaxValue = value;
    return MS::kSuccess;
}

namespace {
template <class T> MStatus getScalarDefault(AttributeDef* def, T& value) {
    if (!def || !def->children.empty())
        return MS::kFailure;
    value = static_cast<T>(def->defaultValue);
    return MS::kSuccess;
}
} // namespace

MStatus MFnNumericAttribute::getDefault(bool& v) {
    AttributeDef* def = defOf(object_);
    if (!def || !def->children.empty())
        return MS::kFailure;
    v = def->defaultValue != 0.0;
    return MS::kSuccess;
}
MStatus MFnNumericAttribute::getDefault(int& v) {
    return getScalarDefault(defOf(object_), v);
}
MStatus MFnNumericAttribute::getDefault(short& v) {
    return getScalarDefault(defOf(object_), v);
}
MStatus MFnNumericAttribute::getDefault(float& v) {
    return getScalarDefault(defOf(object_), v);
}
MStatus MFnNumericAttribute::getDefault(double& v) {
    return getScalarDefault(defOf(object_), v);
}
MStatus MFnNumericAttribute::getDefault(double& a, double& b, double& c) {
    std::vector<AttributeDef*> all = targets(defOf(object_));
    if (all.size() != 3)
        return MS::kFailure;
    a = all[0]->defaultValue;
    b = all[1]->defaultValue;
    c = all[2]->defaultValue;
    return MS::kSuccess;
}
MStatus MFnNumericAttribute::setDefault(bool v) {
    return setDefaults(defOf(object_), {v ? 1.0 : 0.0});
}
MStatus MFnNumericAttribute::setDefault(int v) {
    return setDefaults(defOf(object_), {double(v)});
}
MStatus MFnNumericAttribute::setDefault(short v) {
    return setDefaults(defOf(object_), {double(v)});
}
MStatus MFnNumericAttribute::setDefault(float v) {
    return setDefaults(defOf(object_), {double(v)});
}
MStatus MFnNumericAttribute::setDefault(double v) {
    return setDefaults(defOf(object_), {v});
}
MStatus MFnNumericAttribute::setDefault(int a, int b) {
    return setDefaults(defOf(object_), {double(a), double(b)});
}
MStatus MFnNumericAttribute::setDefault(float a, float b) {
    return setDefaults(defOf(object_), {double(a), double(b)});
}
MStatus MFnNumericAttribute::setDefault(double a, double b) {
    return setDefaults(defOf(object_), {a, b});
}
MStatus MFnNumericAttribute::setDefault(int a, int b, int c) {
    return setDefaults(defOf(object_), {double(a), double(b), double(c)});
}
MStatus MFnNumericAttribute::setDefault(float a, float b, float c) {
    return setDefaults(defOf(object_), {double(a), double(b), double(c)});
}
MStatus MFnNumericAttribute::setDefault(double a, double b, double c) {
    return setDefaults(defOf(object_), {a, b, c});
}
MStatus MFnNumericAttribute::setUsedAsColor(bool state) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->usedAsColor = state;
    return MS::kSuccess;
}
bool MFnNumericAttribute::isUsedAsColor(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def && def->usedAsColor;
}

// MFnTypedAttribute

MFnTypedAttribute::MFnTypedAttribute(const MObject& object, MStatus* status)
    : MFnAttribute(object, status) {}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type type, MStatus* status) {
    return create(fullName, briefName, type, MObject::kNullObj, status);
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type type, const MObject& defaultData, MStatus* status) {
    if (type == MFnData::kInvalid || type >= MFnData::kLast) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    std::shared_ptr<AttributeDef> def;
    MObject object = makeAttribute(*this, AttributeDef::Kind::Typed, fullName, briefName, &def);
    def->dataType = type;
    def->defaultData = defaultData;
    report(status, MS::kSuccess);
    return object;
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  const MTypeId& id, MObject defaultData, MStatus* status) {
    std::shared_ptr<AttributeDef> def;
    MObject object = makeAttribute(*this, AttributeDef::Kind::Typed, fullName, briefName, &def);
    def->dataType = MFnData::kPlugin;
    def->pluginTypeId = id.id();
    def->defaultData = defaultData;
    report(status, MS::kSuccess);
    return object;
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def ? def->dataType : MFnData::kInvalid;
}

MStatus MFnTypedAttribute::getDefault(MObject& defaultData) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    defaultData = def->defaultData;
    return MS::kSuccess;
}

MStatus MFnTypedAttribute::setDefault(const MObject& defaultData) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->defaultData = defaultData;
    return MS::kSuccess;
}

// MFnEnumAttribute

MFnEnumAttribute::MFnEnumAttribute(const MObject& object, MStatus* status)
    : MFnAttribute(object, status) {}

MObject MFnEnumAttribute::create(const MString& fullName, const MString& briefName,
                                 short defaultValue, MStatus* status) {
    std::shared_ptr<AttributeDef> def;
    MObject object = makeAttribute(*this, AttributeDef::Kind::Enum, fullName, briefName, &def);
    def->numericType = MFnNumericData::kShort;
    def->defaultValue = defaultValue;
    report(status, MS::kSuccess);
    return object;
}

MStatus MFnEnumAttribute::addField(const MString& fieldName, short index) {
    AttributeDef* def = defOf(object_);
    if (!def || fieldName.length() == 0)
        return MS::kFailure;
    for (const auto& field : def->enumFields)
        if (field.first == fieldName.asChar() || field.second == index)
            return MS::kFailure;
    def->enumFields.emplace_back(fieldName.asChar(), index);
    return MS::kSuccess;
}

MString MFnEnumAttribute::fieldName(short index, MStatus* status) const {
    AttributeDef* def = defOf(object_);
    if (def)
        for (const auto& field : def->enumFields)
            if (field.second == index) {
                report(status, MS::kSuccess);
                return MString(field.first.c_str());
            }
    report(status, MS::kFailure);
    return MString();
}

short MFnEnumAttribute::fieldIndex(const MString& fieldName, MStatus* status) const {
    AttributeDef* def = defOf(object_);
    if (def)
        for (const auto& field : def->enumFields)
            if (field.first == fieldName.asChar()) {
                report(status, MS::kSuccess);
                return field.second;
            }
    report(status, MS::kFailure);
    return 0;
}

MStatus MFnEnumAttribute::getMin(short& minValue) const {
    AttributeDef* def = defOf(object_);
    if (!def || def->enumFields.empty())
        return MS::kFailure;
    minValue = def->enumFields.front().second;
    for (const auto& field : def->enumFields)
        minValue = std::min(minValue, field.second);
    return MS::kSuccess;
}

MStatus MFnEnumAttribute::getMax(short& maxValue) const {
    AttributeDef* def = defOf(object_);
    if (!def || def->enumFields.empty())
        return MS::kFailure;
    maxValue = def->enumFields.front().second;
    for (const auto& field : def->enumFields)
        maxValue = std::max(maxValue, field.second);
    return MS::kSuccess;
}

MStatus MFnEnumAttribute::setDefault(short index) {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    def->defaultValue = index;
    return MS::kSuccess;
}

MStatus MFnEnumAttribute::getDefault(short& index) const {
    AttributeDef* def = defOf(object_);
    if (!def)
        return MS::kFailure;
    index = static_cast<short>(def->defaultValue);
    return MS::kSuccess;
}

// MFnCompoundAttribute

MFnCompoundAttribute::MFnCompoundAttribute(const MObject& object, MStatus* status)
    : MFnAttribute(object, status) {}

MObject MFnCompoundAttribute::create(const MString& fullName, const MString& briefName,
                                     MStatus* status) {
    report(status, MS::kSuccess);
    return makeAttribute(*this, AttributeDef::Kind::Compound, fullName, briefName);
}

MStatus MFnCompoundAttribute::addChild(const MObject& child) {
    AttributeDef* def = defOf(object_);
    AttributeDef* childDef = defOf(child);
    if (!def || !childDef || childDef->parent || childDef == def || childDef->isAncestorOf(def))
        return MS::kInvalidParameter;
    ::addChild(def, std::static_pointer_cast<AttributeDef>(child.impl()));
    return MS::kSuccess;
}

MStatus MFnCompoundAttribute::removeChild(const MObject& child) {
    AttributeDef* def = defOf(object_);
    AttributeDef* childDef = defOf(child);
    if (!def || !childDef)
        return MS::kInvalidParameter;
    int index = def->childIndex(childDef);
    if (index < 0)
        return MS::kInvalidParameter;
    childDef->parent = nullptr;
    def->children.erase(def->children.begin() + index);
    return MS::kSuccess;
}

unsigned int MFnCompoundAttribute::numChildren(MStatus* status) const {
    AttributeDef* def = defOf(object_);
    report(status, def ? MS::kSuccess : MS::kFailure);
    return def ? static_cast<unsigned int>(def->children.size()) : 0;
}

MObject MFnCompoundAttribute::child(unsigned int index, MStatus* status) const {
    AttributeDef* def = defOf(object_);
    if (!def || index >= def->children.size()) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    return MObject(def->children[index]);
}

// MFnMessageAttribute

MFnMessageAttribute::MFnMessageAttribute(const MObject& object, MStatus* status)
    : MFnAttribute(object, status) {}

MObject MFnMessageAttribute::create(const MString& fullName, const MString& briefName,
                                    MStatus* status) {
    report(status, MS::kSuccess);
    return makeAttribute(*this, AttributeDef::Kind::Message, fullName, briefName);
}
