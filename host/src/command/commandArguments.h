#pragma once
// The data behind MArgList, MSyntax and MArgParser, and the one parser that checks a call's
// arguments against a syntax (used before doIt and by MArgParser).

#include <maya/MArgList.h>
#include <maya/MSyntax.h>

#include <string>
#include <vector>

namespace host {

// One argument as written. A flag keeps its name without the '-'.
struct ArgItem {
    enum class Kind { kFlag, kBool, kInt, kDouble, kString };
    Kind kind = Kind::kString;
    bool boolValue = false;
    int intValue = 0;
    double doubleValue = 0.0;
    std::string text; // the flag name, the string, or the number as MEL prints it

    static ArgItem flag(const std::string& name);
    static ArgItem string(const std::string& text);

    // The conversions of MArgList (see MArgList.h); false when the item does not convert.
    bool toBool(bool& out) const;
    bool toInt(int& out) const;
    bool toDouble(double& out) const;
    std::string toString() const;
};

struct ArgListData {
    std::vector<ArgItem> items;
};

struct SyntaxFlag {
    std::string shortName, longName; // without the '-'
    std::vector<MSyntax::MArgType> types;
    bool multiUse = false;
};

struct SyntaxData {
    std::vector<SyntaxFlag> flags;
    std::vector<MSyntax::MArgType> commandArgs;
    MSyntax::MObjectFormat objectFormat = MSyntax::kNone;
    unsigned int minObjects = 0;
    unsigned int maxObjects = 0xffffffffu;
    bool query = false;
    bool edit = false;

    // The flag of either name (with or without the '-'); null if none.
    const SyntaxFlag* find(const std::string& name) const;
};

struct FlagUse {
    const SyntaxFlag* flag;
    std::vector<ArgItem> values;
};

struct ParsedArguments {
    SyntaxData syntax; // a copy: the flags of uses point into it
    std::vector<FlagUse> uses;
    std::vector<ArgItem> commandArgs;
    std::vector<std::string> objects;
    bool query = false;
    bool edit = false;
};

// Splits the arguments by the syntax. On a mismatch returns false with *error saying what is
// wrong ("Invalid flag '-x'.", "Flag '-file' needs 1 value.", ...), without the command name.
bool parseArguments(const SyntaxData& syntax, const std::vector<ArgItem>& items,
                    ParsedArguments& parsed, std::string* error);

// A flag name without its leading '-'.
std::string bareFlagName(const char* name);

} // namespace host
