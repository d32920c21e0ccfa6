#include "command/commandArguments.h"

namespace host {

const SyntaxFlag* SyntaxData::find(const std::string& name) const {
    const std::string bare = bareFlagName(name.c_str());
    for (const SyntaxFlag& flag : flags)
        if (flag.shortName == bare || flag.longName == bare)
            return &flag;
    return nullptr;
}

namespace {

const char* typeName(MSyntax::MArgType type) {
    switch (type) {
    case MSyntax::kBoolean:
        return "a boolean";
    case MSyntax::kLong:
    case MSyntax::kUnsigned:
        return "an integer";
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime:
        return "a number";
    default:
        return "a string";
    }
}

// Whether the argument reads as a value of the type; strings take anything.
bool fits(const ArgItem& item, MSyntax::MArgType type) {
    bool b;
    int i;
    double d;
    switch (type) {
    case MSyntax::kBoolean:
        return item.toBool(b);
    case MSyntax::kLong:
        return item.toInt(i);
    case MSyntax::kUnsigned:
        return item.toInt(i) && i >= 0;
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime:
        return item.toDouble(d);
    default:
        return item.kind != ArgItem::Kind::kFlag;
    }
}

std::string plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

bool parseArguments(const SyntaxData& syntax, const std::vector<ArgItem>& items,
                    ParsedArguments& parsed, std::string* error) {
    parsed = ParsedArguments();
    parsed.syntax = syntax;
    const SyntaxData& own = parsed.syntax;
    // The mode flags count wherever they stand; in query mode flags take no values.
    for (const ArgItem& item : items)
        if (item.kind == ArgItem::Kind::kFlag && !own.find(item.text)) {
            parsed.query =
                parsed.query || (own.query && (item.text == "q" || item.text == "query"));
            parsed.edit = parsed.edit || (own.edit && (item.text == "e" || item.text == "edit"));
        }
    if (parsed.query && parsed.edit) {
        *error = "-query and -edit cannot be used together.";
        return false;
    }
    std::vector<ArgItem> plain;
    for (size_t i = 0; i < items.size(); ++i) {
        const ArgItem& item = items[i];
        if (item.kind != ArgItem::Kind::kFlag) {
            plain.push_back(item);
            continue;
        }
        const SyntaxFlag* flag = own.find(item.text);
        if (!flag) {
            if ((own.query && (item.text == "q" || item.text == "query")) ||
                (own.edit && (item.text == "e" || item.text == "edit")))
                continue;
            *error = "Invalid flag '-" + item.text + "'.";
            return false;
        }
        for (const FlagUse& use : parsed.uses)
            if (use.flag == flag && !flag->multiUse) {
                *error = "Flag '-" + item.text + "' can only be used once.";
                return false;
            }
        FlagUse use{flag, {}};
        const size_t count = parsed.query ? 0 : flag->types.size();
        for (size_t k = 0; k < count; ++k) {
            const size_t at = i + 1 + k;
            if (at >= items.size() || items[at].kind == ArgItem::Kind::kFlag) {
                *error = "Flag '-" + item.text + "' needs " +
                         plural(flag->types.size(), "value.", "values.");
                return false;
            }
            if (!fits(items[at], flag->types[k])) {
                *error = "Flag '-" + item.text + "' takes " + typeName(flag->types[k]) + ", not '" +
                         items[at].toString() + "'.";
                return false;
            }
            use.values.push_back(items[at]);
        }
        i += count;
        parsed.uses.push_back(use);
    }
    // Plain values: command arguments first, then objects.
    size_t next = 0;
    for (MSyntax::MArgType type : own.commandArgs) {
        if (next >= plain.size()) {
            *error = "Needs " + plural(own.commandArgs.size(), "argument.", "arguments.");
            return false;
        }
        if (!fits(plain[next], type)) {
            *error = "Argument " + std::to_string(next + 1) + " must be " + typeName(type) +
                     ", not '" + plain[next].toString() + "'.";
            return false;
        }
        parsed.commandArgs.push_back(plain[next++]);
    }
    for (; next < plain.size(); ++next)
        parsed.objects.push_back(plain[next].toString());
    if (parsed.objects.size() > own.maxObjects) {
        *error = own.maxObjects == 0
                     ? "Too many arguments: '" + parsed.objects.front() +
                           "' is not a flag or value the command takes."
                     : "Too many objects (at most " + std::to_string(own.maxObjects) + ").";
        return false;
    }
    if (parsed.objects.size() < own.minObjects) {
        *error = "Needs at least " + plural(own.minObjects, "object.", "objects.");
        return false;
    }
    return true;
}

} // namespace host
