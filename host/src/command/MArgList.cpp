#include "command/commandArguments.h"

#include <maya/MArgList.h>

#include <cctype>

const unsigned int MArgList::kInvalidArgIndex = 0xffffffffu;

MArgList::MArgList() : data_(std::make_unique<host::ArgListData>()) {}
MArgList::MArgList(const MArgList& other)
    : data_(std::make_unique<host::ArgListData>(*other.data_)) {}
MArgList& MArgList::operator=(const MArgList& other) {
    if (this != &other)
        *data_ = *other.data_;
    return *this;
}
MArgList::~MArgList() = default;

namespace {
const host::ArgItem* itemAt(const host::ArgListData& data, unsigned int index, MStatus* status) {
    const bool inside = index < data.items.size();
    if (status)
        *status = inside ? MS::kSuccess : MS::kInvalidParameter;
    return inside ? &data.items[index] : nullptr;
}

template <typename T>
T convert(const host::ArgListData& data, unsigned int index, MStatus* status,
          bool (host::ArgItem::*to)(T&) const) {
    T value{};
    const host::ArgItem* item = itemAt(data, index, status);
    if (item && !(item->*to)(value)) {
        value = T{};
        if (status)
            *status = MS::kInvalidParameter;
    }
    return value;
}
} // namespace

unsigned int MArgList::length(MStatus* status) const {
    if (status)
        *status = MS::kSuccess;
    return static_cast<unsigned int>(data_->items.size());
}

bool MArgList::asBool(unsigned int index, MStatus* status) const {
    return convert<bool>(*data_, index, status, &host::ArgItem::toBool);
}

int MArgList::asInt(unsigned int index, MStatus* status) const {
    return convert<int>(*data_, index, status, &host::ArgItem::toInt);
}

double MArgList::asDouble(unsigned int index, MStatus* status) const {
    return convert<double>(*data_, index, status, &host::ArgItem::toDouble);
}

MString MArgList::asString(unsigned int index, MStatus* status) const {
    const host::ArgItem* item = itemAt(*data_, index, status);
    return item ? MString(item->toString().c_str()) : MString();
}

MStringArray MArgList::asStringArray(unsigned int& index, MStatus* status) const {
    MStringArray result;
    if (!itemAt(*data_, index, status))
        return result;
    while (index < data_->items.size() && data_->items[index].kind != host::ArgItem::Kind::kFlag)
        result.append(MString(data_->items[index++].toString().c_str()));
    return result;
}

unsigned int MArgList::flagIndex(const char* shortFlag, const char* longFlag) const {
    const std::string shortName = host::bareFlagName(shortFlag);
    const std::string longName = host::bareFlagName(longFlag);
    for (size_t i = 0; i < data_->items.size(); ++i) {
        const host::ArgItem& item = data_->items[i];
        if (item.kind != host::ArgItem::Kind::kFlag)
            continue;
        if ((!shortName.empty() && item.text == shortName) ||
            (!longName.empty() && item.text == longName))
            return static_cast<unsigned int>(i);
    }
    return kInvalidArgIndex;
}

MArgList& MArgList::addArg(bool arg) {
    host::ArgItem item;
    item.kind = host::ArgItem::Kind::kBool;
    item.boolValue = arg;
    data_->items.push_back(item);
    return *this;
}

MArgList& MArgList::addArg(int arg) {
    host::ArgItem item;
    item.kind = host::ArgItem::Kind::kInt;
    item.intValue = arg;
    data_->items.push_back(item);
    return *this;
}

MArgList& MArgList::addArg(double arg) {
    host::ArgItem item;
    item.kind = host::ArgItem::Kind::kDouble;
    item.doubleValue = arg;
    data_->items.push_back(item);
    return *this;
}

MArgList& MArgList::addArg(const MString& arg) {
    const char* text = arg.asChar();
    if (text[0] == '-' && std::isalpha(static_cast<unsigned char>(text[1])))
        data_->items.push_back(host::ArgItem::flag(text + 1));
    else
        data_->items.push_back(host::ArgItem::string(text));
    return *this;
}
