#pragma once
// The host's MEL interpreter: runs the plug-in's scripts, MGlobal::executeCommand text and, through
// the commands other host layers register, scene files.
//
// Language: comments, global and local procedures with typed parameters and return values
// (arrays included), int / float / string scalars and arrays, global variables, the C-like
// operators (with + concatenating strings), casts, ?:, if / else, while, do / while, for (;;),
// for (... in ...), switch, break, continue, return, both call syntaxes (`name -flag value arg;`
// and `name(arg, ...)`), backtick command substitution and array literals. vector and matrix
// are not supported.
//
// Semantics the host fixes:
// - A file or command text is parsed completely before anything runs. A syntax error runs
//   nothing and defines nothing; procedures defined before stay as they were.
// - The procedures of a file are defined before its top-level statements run, so those may
//   call procedures written further down. A `proc` (not global) is visible to its own file only.
// - A runtime error stops the whole execution (unless caught by `catch`) and is shown through
//   displayError as "<file> line <n>: <what>"; text run by executeCommand has no file and reads
//   "line <n>: <what>". The file is named as it was found on the script path.
// - Variables declared at the top level of any execution live in one session-wide scope (as in
//   Maya's script editor); procedures see only their own variables and the globals they declare.
// - Array arguments are passed to procedures by reference, scalars by value.
// - Calling an unknown procedure first looks for "<name>.mel" on the script path and sources it.
// - evalDeferred queues its command; the queue runs when the outermost execution returns (the
//   host has no idle loop, and that is the first moment Maya would be idle), or on
//   runDeferredMel.
// - Bare words in command arguments are strings, except numbers and the boolean words
//   true/false/on/off/yes/no, which are the ints 1 and 0 in every context. A quoted string is
//   a value even when it starts with '-'.
// - The session runs in batch mode: `about -batch` is 1, `about -version` is "2013".
// Everything runs on the host's one thread. No exception leaves these functions.

#include <maya/MStatus.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace host {

// A MEL value: nothing, int, float, string, or an array of ints, floats or strings.
class MelValue {
  public:
    enum class Type { kNone, kInt, kFloat, kString, kIntArray, kFloatArray, kStringArray };

    MelValue() = default;
    MelValue(int value) : value_(value) {}
    MelValue(double value) : value_(value) {}
    MelValue(const char* value) : value_(std::string(value ? value : "")) {}
    MelValue(std::string value) : value_(std::move(value)) {}
    MelValue(std::vector<int> value) : value_(std::move(value)) {}
    MelValue(std::vector<double> value) : value_(std::move(value)) {}
    MelValue(std::vector<std::string> value) : value_(std::move(value)) {}

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isNone() const { return type() == Type::kNone; }
    bool isArray() const { return type() >= Type::kIntArray; }
    bool isNumber() const { return type() == Type::kInt || type() == Type::kFloat; }
    bool isString() const { return type() == Type::kString; }

    // MEL's conversions. A string gives the number it starts with (0 if none); a float is
    // truncated towards zero; an array gives its first element (0 or "" when empty).
    int asInt() const;
    double asFloat() const;
    // Floats print with up to 10 significant digits, as MEL prints them ("1", "0.25",
    // "0.3333333333"); an array gives its elements joined by single spaces.
    std::string asString() const;
    // Numbers: non-zero. Strings: a number as above, or "true"/"on"/"yes" (any case).
    bool asBool() const;
    // A scalar gives a one-element array, nothing an empty one.
    std::vector<int> asIntArray() const;
    std::vector<double> asFloatArray() const;
    std::vector<std::string> asStringArray() const;
    // Elements of an array; 1 for a scalar, 0 for nothing.
    std::size_t size() const;
    // The array held, to read or change in place; nullptr when the value holds another type.
    std::vector<int>* intArray() { return std::get_if<std::vector<int>>(&value_); }
    std::vector<double>* floatArray() { return std::get_if<std::vector<double>>(&value_); }
    std::vector<std::string>* stringArray() {
        return std::get_if<std::vector<std::string>>(&value_);
    }

    // Same type and same value: MelValue(1) != MelValue(1.0).
    bool operator==(const MelValue& other) const { return value_ == other.value_; }
    bool operator!=(const MelValue& other) const { return !(*this == other); }

  private:
    std::variant<std::monostate, int, double, std::string, std::vector<int>, std::vector<double>,
                 std::vector<std::string>>
        value_;
};

// Formats a float as MEL prints it.
std::string melFormatFloat(double value);

// ---- Running MEL ---------------------------------------------------------------------------

// Runs MEL text. On success, *result (if given) receives the value of the last top-level
// expression or command statement run (nothing if there was none). sourceName names the text in
// error messages ("" for typed commands). kFailure after a syntax or runtime error, which has
// been shown.
MStatus melExecute(const std::string& text, MelValue* result = nullptr,
                   const std::string& sourceName = "");
// Like MEL's `source`: finds the file on the script path (see findScript) and runs it.
MStatus melSourceFile(const std::string& fileName);
// Runs the file at this path (no search), for example a scene file; errors name the path.
MStatus melRunFile(const std::string& path);
// Runs the commands that evalDeferred queued, in order (including ones they queue).
void runDeferredMel();

bool melProcedureExists(const std::string& name);
bool melCommandExists(const std::string& name);
// A global variable's value ("$gMainWindow" or "gMainWindow"); nothing if not declared.
MelValue melGlobal(const std::string& name);

// Forgets every procedure, global and top-level variable, option variable, queued deferred
// command and UI element, then declares $gMainWindow = "MayaWindow" again. Registered commands
// and the script path stay. For tests and for a fresh session.
void melResetSession();

// ---- Script path -----------------------------------------------------------------------------

// The directories searched for scripts, in order: those of MAYA_SCRIPT_PATH (colon-separated,
// read at every search), then those added here, in the order added. Adding one twice does
// nothing.
void addScriptPath(const std::string& directory);
std::vector<std::string> scriptPath();
// A name containing '/' is taken as a path (relative to the working directory) first; otherwise,
// or when that file does not exist, each directory of the script path is tried. A name without
// an extension is also tried with ".mel" appended. Returns the path found, or "" if none.
std::string findScript(const std::string& fileName);

// ---- Host commands ---------------------------------------------------------------------------

// One flag of a command: its names without the '-' and how many values follow it.
struct MelFlag {
    std::string shortName;
    std::string longName;
    int numValues = 0;
    bool multiUse = false; // may be given more than once, each use keeping its values
};

// What a command accepts. Flags are matched by either name. With queryable, "-q"/"-query" sets
// query mode, in which flags take no values; with editable, "-e"/"-edit" sets edit mode.
// An unknown flag, a flag short of values or a positional count outside [min, max] is an error
// reported by the interpreter before the handler runs.
struct MelSyntax {
    std::vector<MelFlag> flags;
    bool queryable = false;
    bool editable = false;
    int minPositional = 0;
    int maxPositional = -1; // -1: no limit
    // The handler reads the arguments itself from raw() (plug-in commands): no flag is refused
    // and none takes values here; the flags listed serve only to recognise "-flag" strings in
    // `name(...)` syntax.
    bool rawArguments = false;

    MelSyntax& flag(std::string shortName, std::string longName, int numValues = 0,
                    bool multiUse = false) {
        flags.push_back({std::move(shortName), std::move(longName), numValues, multiUse});
        return *this;
    }
    const MelFlag* find(const std::string& name) const;
};

// One argument as written: a flag (name without '-') or a value.
struct MelArg {
    bool isFlag = false;
    std::string flag;
    MelValue value;
};

// One call of a host command: its arguments split by the command's syntax, its result, and the
// place it was called from for messages.
//
// Both call syntaxes arrive here the same way. In `name(...)` syntax a string argument that
// reads "-<flag>" for a flag of the command is taken as that flag.
class MelCall {
  public:
    const std::string& command() const { return command_; }
    bool isQuery() const { return query_; }
    bool isEdit() const { return edit_; }

    // Flags by either name. values() gives the values of the last use (empty if absent);
    // uses() the values of every use, in order.
    bool has(const std::string& flag) const;
    const std::vector<MelValue>& values(const std::string& flag) const;
    std::vector<std::vector<MelValue>> uses(const std::string& flag) const;
    // The first value of the last use, converted; the fallback when the flag is absent.
    std::string stringValue(const std::string& flag, const std::string& fallback = "") const;
    int intValue(const std::string& flag, int fallback = 0) const;
    double floatValue(const std::string& flag, double fallback = 0.0) const;
    bool boolValue(const std::string& flag, bool fallback = false) const;

    // Values that belong to no flag, in order.
    const std::vector<MelValue>& args() const { return positional_; }
    // Every argument as written.
    const std::vector<MelArg>& raw() const { return raw_; }

    void setResult(MelValue value) { result_ = std::move(value); }
    const MelValue& result() const { return result_; }

    // Shows "<file> line <n>: <text>" as an error (or warning). An error makes the call fail
    // whatever the handler returns, and stops the script that made it.
    void error(const std::string& text);
    void warning(const std::string& text);
    bool failed() const { return failed_; }
    // "<file> line <n>" or "line <n>".
    std::string where() const;

    // Built by the interpreter.
    MelCall(std::string command, std::string sourceName, int line);
    // Splits raw arguments by the syntax; false (with the error shown) if they do not fit.
    bool bind(const MelSyntax& syntax, std::vector<MelArg> raw);

  private:
    struct FlagUse {
        std::string longName;
        std::vector<MelValue> values;
    };
    const MelFlag* lookup(const std::string& flag) const;

    std::string command_;
    std::string sourceName_;
    int line_ = 0;
    const MelSyntax* syntax_ = nullptr;
    bool query_ = false;
    bool edit_ = false;
    bool failed_ = false;
    std::vector<FlagUse> flags_;
    std::vector<MelValue> positional_;
    std::vector<MelArg> raw_;
    MelValue result_;
};

// A command handler. It returns success, or a failure status after call.error (or MGlobal's
// displayError) has said why; when no error was shown while it ran, the interpreter shows
// "<command>: command failed." A failure stops the script that made the call. Handlers must not
// throw; an exception that escapes one is reported as an internal error of the command.
using MelCommandHandler = std::function<MStatus(MelCall& call)>;

// Registers (or replaces) a command. Procedures of the same name take precedence over it, as
// global procedures do over commands in Maya.
void registerMelCommand(const std::string& name, MelCommandHandler handler,
                        MelSyntax syntax = MelSyntax());
bool deregisterMelCommand(const std::string& name);

} // namespace host
