#pragma once
// Data values held by typed attributes: strings, plug-in data, and other typed data
// (geometry kinds are added beside these).

#include "graph/object.h"

#include <maya/MFnData.h>
#include <maya/MObject.h>
#include <maya/MPxData.h>
#include <maya/MString.h>

#include <memory>

namespace host {

struct DataObject : Object {
    virtual MFnData::Type dataType() const = 0;
    bool hasFn(MFn::Type type) const override {
        return type == MFn::kBase || type == MFn::kData || type == apiType();
    }
};

struct StringData : DataObject {
    MString value;
    MFn::Type apiType() const override { return MFn::kStringData; }
    const char* apiTypeStr() const override { return "kStringData"; }
    MFnData::Type dataType() const override { return MFnData::kString; }
};

struct PluginData : DataObject {
    explicit PluginData(MPxData* data) : data(data) {}
    std::unique_ptr<MPxData> data;
    MFn::Type apiType() const override { return MFn::kPluginData; }
    const char* apiTypeStr() const override { return "kPluginData"; }
    MFnData::Type dataType() const override { return MFnData::kPlugin; }
};

template <class T> T* dataAs(const MObject& object) {
    return dynamic_cast<T*>(object.impl().get());
}

// A new string data object holding the text.
MObject makeStringData(const MString& text);

} // namespace host
