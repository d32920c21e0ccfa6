// Function sets and base class of data objects: strings and plug-in data.

#include "graph/statusOut.h"
#include "data/dataObjects.h"
#include "graph/nodeType.h"

#include <maya/MFnPluginData.h>
#include <maya/MFnStringData.h>
#include <maya/MPxData.h>

namespace host {
MObject makeStringData(const MString& text) {
    auto data = std::make_shared<StringData>();
    data->value = text;
    return MObject(data);
}
} // namespace host

using host::report;

MPxData::MPxData() = default;
MPxData::~MPxData() = default;
MStatus MPxData::readASCII(const MArgList&, unsigned int&) {
    return MS::kNotImplemented;
}
MStatus MPxData::readBinary(std::istream&, unsigned int) {
    return MS::kNotImplemented;
}
MStatus MPxData::writeASCII(std::ostream&) {
    return MS::kNotImplemented;
}
MStatus MPxData::writeBinary(std::ostream&) {
    return MS::kNotImplemented;
}

MFnStringData::MFnStringData(MObject& object, MStatus* status) {
    report(status, host::dataAs<host::StringData>(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

MObject MFnStringData::create(const MString& text, MStatus* status) {
    object_ = host::makeStringData(text);
    report(status, MS::kSuccess);
    return object_;
}

MObject MFnStringData::create(MStatus* status) {
    return create(MString(), status);
}

MString MFnStringData::string(MStatus* status) const {
    host::StringData* data = host::dataAs<host::StringData>(object_);
    report(status, data ? MS::kSuccess : MS::kFailure);
    return data ? data->value : MString();
}

MStatus MFnStringData::set(const MString& text) {
    host::StringData* data = host::dataAs<host::StringData>(object_);
    if (!data)
        return MS::kFailure;
    data->value = text;
    return MS::kSuccess;
}

MFnPluginData::MFnPluginData(MObject& object, MStatus* status) {
    report(status, host::dataAs<host::PluginData>(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

MObject MFnPluginData::create(const MTypeId& id, MStatus* status) {
    host::DataType* type = host::TypeRegistry::instance().findData(id);
    MPxData* data = type ? static_cast<MPxData*>(type->creator()) : nullptr;
    if (!data) {
        report(status, MS::kInvalidParameter);
        object_ = MObject();
        return object_;
    }
    object_ = MObject(std::make_shared<host::PluginData>(data));
    report(status, MS::kSuccess);
    return object_;
}

MTypeId MFnPluginData::typeId(MStatus* status) const {
    host::PluginData* data = host::dataAs<host::PluginData>(object_);
    report(status, data ? MS::kSuccess : MS::kFailure);
    return data ? data->data->typeId() : MTypeId();
}

MPxData* MFnPluginData::data(MStatus* status) {
    host::PluginData* data = host::dataAs<host::PluginData>(object_);
    report(status, data ? MS::kSuccess : MS::kFailure);
    return data ? data->data.get() : nullptr;
}

const MPxData* MFnPluginData::constData(MStatus* status) const {
    host::PluginData* data = host::dataAs<host::PluginData>(object_);
    report(status, data ? MS::kSuccess : MS::kFailure);
    return data ? data->data.get() : nullptr;
}
