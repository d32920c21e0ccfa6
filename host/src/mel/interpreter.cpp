#include "mel/interpreter.h"

#include "foundation/filesBeingRead.h"
#include "host/messages.h"
#include "host/ui.h"

#include <fstream>
#include <sstream>

namespace host {
namespace mel {

namespace {

// Commands an evalDeferred flush runs at most; commands that keep queuing themselves would
// otherwise never let the flush end.
constexpr int kMaxDeferredPerFlush = 10000;
// Executions (eval, source, executeCommand) running inside one another at most: text that
// evaluates itself would otherwise recurse until the stack runs out.
constexpr int kMaxNestedExecutions = 64;

std::string whereIn(const std::string& sourceName, int line) {
    std::string where = "line " + std::to_string(line);
    return sourceName.empty() ? where : sourceName + " " + where;
}

void declareMainWindow(std::unordered_map<std::string, VariablePtr>& globals) {
    auto window = std::make_shared<Variable>();
    window->type = TypeSpec{BaseType::kString, false};
    window->value = MelValue("MayaWindow");
    globals["gMainWindow"] = window;
}

} // namespace

std::string typeName(const TypeSpec& type) {
    const char* base = type.base == BaseType::kInt     ? "int"
                       : type.base == BaseType::kFloat ? "float"
                                                       : "string";
    return std::string(base) + (type.array ? "[]" : "");
}

std::string typeName(const MelValue& value) {
    switch (value.type()) {
    case MelValue::Type::kNone:
        return "nothing";
    case MelValue::Type::kInt:
        return "int";
    case MelValue::Type::kFloat:
        return "float";
    case MelValue::Type::kString:
        return "string";
    case MelValue::Type::kIntArray:
        return "int[]";
    case MelValue::Type::kFloatArray:
        return "float[]";
    case MelValue::Type::kStringArray:
        return "string[]";
    }
    return "?";
}

// Never destroyed: plug-ins unloaded while the process exits still run MEL through it.
Interpreter& Interpreter::instance() {
    static Interpreter* interpreter = new Interpreter;
    return *interpreter;
}

Interpreter::Interpreter() {
    idleFrame_.base = &topLevel_;
    frames_.push_back(&idleFrame_);
    declareMainWindow(globals_);
    registerCoreCommands(*this);
    registerStringCommands(*this);
    registerUiCommands(*this);
    registerDialogCommands(*this);
}

void Interpreter::reset() {
    globalProcs_.clear();
    localProcs_.clear();
    globals_.clear();
    topLevel_.clear();
    deferred_.clear();
    optionVars_.clear();
    autoSourcing_.clear();
    declareMainWindow(globals_);
    ui::reset();
}

void Interpreter::showError(const std::string& text) {
    if (!quiet())
        displayMessage(MessageKind::kError, text);
}

std::string Interpreter::where(int line) const {
    return whereIn(currentSource(), line);
}

const std::string& Interpreter::currentSource() const {
    return frame().sourceName;
}

void Interpreter::raise(int line, const std::string& message) {
    showError(where(line) + ": " + message);
    throw Abort{};
}

MStatus Interpreter::execute(const std::string& text, const std::string& sourceName,
                             MelValue* result) {
    if (executions_ >= kMaxNestedExecutions) {
        showError(whereIn(sourceName, 1) + ": scripts nested too deeply: eval and source run " +
                  "inside one another more than " + std::to_string(kMaxNestedExecutions) +
                  " times.");
        return MS::kFailure;
    }
    ParseError error;
    std::unique_ptr<Script> script = parse(text, sourceName, error);
    if (!script) {
        showError(whereIn(sourceName, error.line) + ": Syntax error: " + error.message);
        return MS::kFailure;
    }
    return run(std::shared_ptr<Script>(std::move(script)), result);
}

MStatus Interpreter::run(const std::shared_ptr<Script>& script, MelValue* result) {
    // Procedures first, so that top-level code may call those written below it.
    for (const auto& proc : script->procedures) {
        if (proc->global)
            globalProcs_[proc->name] = proc;
        else
            localProcs_[{proc->sourceName, proc->name}] = proc;
    }

    Frame top;
    top.base = &topLevel_;
    top.sourceName = script->sourceName;
    top.topLevel = true;
    frames_.push_back(&top);
    ++executions_;
    MStatus status = MS::kSuccess;
    int line = 0;
    try {
        for (const StmtPtr& stmt : script->statements) {
            line = stmt->line;
            if (exec(*stmt) == Flow::kReturn)
                break;
        }
    } catch (const Abort&) {
        status = MS::kFailure;
    } catch (const std::exception& e) {
        showError(whereIn(script->sourceName, line) + ": internal error: " + e.what());
        status = MS::kFailure;
    } catch (...) {
        showError(whereIn(script->sourceName, line) + ": internal error");
        status = MS::kFailure;
    }
    --executions_;
    frames_.pop_back();
    if (status == MS::kSuccess && result)
        *result = std::move(top.lastValue);
    if (executions_ == 0)
        runDeferred();
    return status;
}

MStatus Interpreter::sourceFile(const std::string& fileName, const std::string& errorPrefix) {
    std::string path = findScript(fileName);
    if (path.empty()) {
        std::vector<std::string> dirs = scriptPath();
        std::string searched;
        for (const std::string& dir : dirs)
            searched += (searched.empty() ? "" : ", ") + dir;
        if (searched.empty())
            searched = "the script path is empty (set MAYA_SCRIPT_PATH)";
        else
            searched = "searched " + searched;
        showError(errorPrefix + "Cannot find file \"" + fileName + "\" for source statement; " +
                  searched + ".");
        return MS::kFailure;
    }
    return runFile(path);
}

MStatus Interpreter::runFile(const std::string& path) {
    FileBeingRead entered(path);
    if (entered.refused()) {
        showError("source: " + entered.error());
        return MS::kFailure;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        showError("Cannot open file \"" + path + "\".");
        return MS::kFailure;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        content.erase(0, 3);
    return execute(content, path, nullptr);
}

void Interpreter::defer(const std::string& command, bool first) {
    if (first)
        deferred_.push_front(command);
    else
        deferred_.push_back(command);
}

std::vector<std::string> Interpreter::deferred() const {
    return std::vector<std::string>(deferred_.begin(), deferred_.end());
}

void Interpreter::runDeferred() {
    if (flushing_)
        return;
    flushing_ = true;
    int budget = kMaxDeferredPerFlush;
    while (!deferred_.empty() && budget-- > 0) {
        std::string command = std::move(deferred_.front());
        deferred_.pop_front();
        execute(command, "", nullptr);
    }
    if (!deferred_.empty())
        displayMessage(MessageKind::kWarning,
                       "evalDeferred: " + std::to_string(deferred_.size()) +
                           " commands stay queued; the deferred commands keep queuing more.");
    flushing_ = false;
}

void Interpreter::registerCommand(const std::string& name, MelCommandHandler handler,
                                  MelSyntax syntax) {
    commands_[name] = CommandEntry{std::move(handler), std::move(syntax)};
}

bool Interpreter::deregisterCommand(const std::string& name) {
    return commands_.erase(name) > 0;
}

void Interpreter::registerSpecialForm(const std::string& name, SpecialForm form) {
    specialForms_[name] = std::move(form);
}

std::shared_ptr<const Procedure> Interpreter::findProcedure(const std::string& name) const {
    auto local = localProcs_.find({currentSource(), name});
    if (local != localProcs_.end())
        return local->second;
    auto global = globalProcs_.find(name);
    return global == globalProcs_.end() ? nullptr : global->second;
}

bool Interpreter::commandExists(const std::string& name) const {
    return commands_.count(name) > 0 || specialForms_.count(name) > 0;
}

std::string Interpreter::whatIs(const std::string& name) const {
    if (!name.empty() && name[0] == '$') {
        VariablePtr var = lookup(name.substr(1));
        return var ? typeName(var->type) + " variable" : "Unknown";
    }
    if (auto proc = findProcedure(name))
        return proc->sourceName.empty() ? "Entered interactively"
                                        : "Mel procedure found in: " + proc->sourceName;
    if (commandExists(name))
        return "Command";
    std::string script = findScript(name + ".mel");
    if (!script.empty())
        return "Script found in: " + script;
    return "Unknown";
}

VariablePtr Interpreter::lookup(const std::string& name) const {
    const Frame& f = frame();
    for (auto it = f.blocks.rbegin(); it != f.blocks.rend(); ++it) {
        auto found = it->find(name);
        if (found != it->end())
            return found->second;
    }
    auto found = f.base->find(name);
    return found == f.base->end() ? nullptr : found->second;
}

MelValue Interpreter::globalValue(const std::string& name) const {
    std::string bare = !name.empty() && name[0] == '$' ? name.substr(1) : name;
    auto found = globals_.find(bare);
    return found == globals_.end() ? MelValue() : found->second->value;
}

Scope& Interpreter::innermost() {
    Frame& f = frame();
    return f.blocks.empty() ? *f.base : f.blocks.back();
}

} // namespace mel

// ---- The public interface ----------------------------------------------------------------------

namespace {

// Nothing may escape into callers (the plug-in among them), not even an allocation failure.
template <typename F> MStatus guarded(F&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        displayMessage(MessageKind::kError, std::string("MEL: internal error: ") + e.what());
    } catch (...) {
        displayMessage(MessageKind::kError, "MEL: internal error");
    }
    return MS::kFailure;
}

} // namespace

MStatus melExecute(const std::string& text, MelValue* result, const std::string& sourceName) {
    return guarded([&] { return mel::Interpreter::instance().execute(text, sourceName, result); });
}

MStatus melSourceFile(const std::string& fileName) {
    return guarded([&] { return mel::Interpreter::instance().sourceFile(fileName, ""); });
}

MStatus melRunFile(const std::string& path) {
    return guarded([&] { return mel::Interpreter::instance().runFile(path); });
}

void runDeferredMel() {
    guarded([] {
        mel::Interpreter::instance().runDeferred();
        return MStatus(MS::kSuccess);
    });
}

bool melProcedureExists(const std::string& name) {
    try {
        return mel::Interpreter::instance().findProcedure(name) != nullptr;
    } catch (...) {
        return false;
    }
}

bool melCommandExists(const std::string& name) {
    try {
        return mel::Interpreter::instance().commandExists(name);
    } catch (...) {
        return false;
    }
}

MelValue melGlobal(const std::string& name) {
    try {
        return mel::Interpreter::instance().globalValue(name);
    } catch (...) {
        return MelValue();
    }
}

void melResetSession() {
    guarded([] {
        mel::Interpreter::instance().reset();
        return MStatus(MS::kSuccess);
    });
}

void registerMelCommand(const std::string& name, MelCommandHandler handler, MelSyntax syntax) {
    guarded([&] {
        mel::Interpreter::instance().registerCommand(name, std::move(handler), std::move(syntax));
        return MStatus(MS::kSuccess);
    });
}

bool deregisterMelCommand(const std::string& name) {
    try {
        return mel::Interpreter::instance().deregisterCommand(name);
    } catch (...) {
        return false;
    }
}

} // namespace host
