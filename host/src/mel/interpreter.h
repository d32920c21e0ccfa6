#pragma once
// The MEL session: procedure and command tables, variables, the call stack and the evaluator.
// One per process, reached through Interpreter::instance().

#include "host/mel.h"
#include "mel/ast.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace host {
namespace mel {

struct Variable {
    TypeSpec type;
    MelValue value;
};
using VariablePtr = std::shared_ptr<Variable>;
using Scope = std::unordered_map<std::string, VariablePtr>;

// Thrown after an error has been shown; unwinds to the nearest catch or to the execution that
// started the run. Never leaves the interpreter.
struct Abort {};

class Interpreter;

// Built-ins that take their arguments unevaluated: catch traps errors while evaluating them,
// clear and tokenize write into a variable.
using SpecialForm = std::function<MelValue(Interpreter&, const Expr& call)>;

struct CommandEntry {
    MelCommandHandler handler;
    MelSyntax syntax;
};

// A procedure's (or a top-level execution's) variables and the state of its run.
struct Frame {
    Scope* base = nullptr;     // the procedure's locals, or the session's top-level scope
    std::vector<Scope> blocks; // nested { } scopes, innermost last
    std::string sourceName;
    bool topLevel = true;
    MelValue returnValue;
    MelValue lastValue; // top level: value of the last expression statement
};

std::string typeName(const TypeSpec& type);
std::string typeName(const MelValue& value);

class Interpreter {
  public:
    static Interpreter& instance();

    // ---- Running ----
    MStatus execute(const std::string& text, const std::string& sourceName, MelValue* result);
    // Finds the file on the script path; a missing file is reported with errorPrefix before
    // the message ("" or "<file> line <n>: ").
    MStatus sourceFile(const std::string& fileName, const std::string& errorPrefix);
    MStatus runFile(const std::string& path);
    void runDeferred();
    void defer(const std::string& command, bool first);
    std::vector<std::string> deferred() const;
    void reset();

    // ---- Tables ----
    void registerCommand(const std::string& name, MelCommandHandler handler, MelSyntax syntax);
    bool deregisterCommand(const std::string& name);
    void registerSpecialForm(const std::string& name, SpecialForm form);
    // Visible from the current source: its own local procedures, then the global ones.
    std::shared_ptr<const Procedure> findProcedure(const std::string& name) const;
    bool commandExists(const std::string& name) const;
    std::string whatIs(const std::string& name) const;
    MelValue globalValue(const std::string& name) const;
    std::map<std::string, MelValue>& optionVars() { return optionVars_; }

    // ---- For built-ins ----
    MelValue evaluate(const Expr& e);
    [[noreturn]] void raise(int line, const std::string& message);
    // "<file> line <n>" or "line <n>" for the current source.
    std::string where(int line) const;
    const std::string& currentSource() const;
    bool quiet() const { return quiet_ > 0; }
    // The variable named by a kVariable expression, created in the innermost scope with type
    // ifNew when it does not exist.
    VariablePtr variableForWrite(const Expr& variable, const TypeSpec& ifNew);
    VariablePtr lookup(const std::string& name) const;
    // Converts a value for a variable of this type; raises on a scalar/array mismatch.
    MelValue convert(const MelValue& value, const TypeSpec& type, int line);

    struct QuietScope {
        explicit QuietScope(Interpreter& in) : interpreter(in) { ++interpreter.quiet_; }
        ~QuietScope() { --interpreter.quiet_; }
        Interpreter& interpreter;
    };

  private:
    enum class Flow { kNormal, kBreak, kContinue, kReturn };

    Interpreter();
    MStatus run(const std::shared_ptr<Script>& script, MelValue* result);
    void showError(const std::string& text);

    Flow exec(const Stmt& s);
    Flow execLoopBody(const Stmt& body, bool& stop);
    Flow execSwitch(const Stmt& s);
    void declare(const Stmt& s);
    bool truth(const MelValue& value, int line);
    MelValue arithmetic(Tok op, const MelValue& a, const MelValue& b, int line);
    MelValue store(const Expr& target, const MelValue& value, int line);
    MelValue readIndex(const Expr& e);
    MelValue assign(const Expr& e);
    MelValue incDec(const Expr& e);
    MelValue arrayLiteral(const Expr& e);
    MelValue call(const Expr& e);
    MelValue callProcedure(const std::shared_ptr<const Procedure>& proc, const Expr& e);
    MelValue callCommand(const std::string& name, const CommandEntry& entry, const Expr& e);
    void autoSource(const std::string& name);

    Frame& frame() { return *frames_.back(); }
    const Frame& frame() const { return *frames_.back(); }
    Scope& innermost();

    std::unordered_map<std::string, std::shared_ptr<const Procedure>> globalProcs_;
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const Procedure>> localProcs_;
    std::unordered_map<std::string, CommandEntry> commands_;
    std::unordered_map<std::string, SpecialForm> specialForms_;
    std::unordered_map<std::string, VariablePtr> globals_;
    Scope topLevel_;
    std::vector<Frame*> frames_;
    Frame idleFrame_; // bottom of the stack, so that a frame always exists
    std::deque<std::string> deferred_;
    std::map<std::string, MelValue> optionVars_;
    std::set<std::string> autoSourcing_;
    int executions_ = 0;
    int callDepth_ = 0;
    int quiet_ = 0;
    bool flushing_ = false;
};

// Registration of the built-in commands, by area.
void registerCoreCommands(Interpreter& interpreter);
void registerStringCommands(Interpreter& interpreter);
void registerUiCommands(Interpreter& interpreter);
void registerDialogCommands(Interpreter& interpreter);

} // namespace mel
} // namespace host
