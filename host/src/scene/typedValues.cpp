#include "scene/typedValues.h"

#include "scene/dataValueFormats.h"

#include <map>

namespace host {

namespace {
std::map<std::string, TypedValueFormat>& registered() {
    static std::map<std::string, TypedValueFormat> all;
    return all;
}

// The registered formats, the scene's own data kinds among them.
std::map<std::string, TypedValueFormat>& formats() {
    static bool own = (registerMatrixFormat(), registerPointArrayFormat(), true);
    (void)own;
    return registered();
}
} // namespace

void registerTypedValueFormat(const TypedValueFormat& format) {
    registered()[format.typeName] = format;
}

const TypedValueFormat* findTypedValueFormat(const std::string& typeName) {
    auto it = formats().find(typeName);
    return it == formats().end() ? nullptr : &it->second;
}

const TypedValueFormat* formatOwning(const MObject& data) {
    for (const auto& entry : formats())
        if (entry.second.owns && entry.second.owns(data))
            return &entry.second;
    return nullptr;
}

} // namespace host
