#include "mel/interpreter.h"

#include "host/messages.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

namespace host {
namespace mel {

namespace {

// Deeper procedure recursion than this is reported instead of overflowing the stack.
constexpr int kMaxCallDepth = 256;

// MEL ints wrap at 32 bits; computing in 64 bits and wrapping keeps C++ free of overflow.
int wrap(std::int64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

MelValue defaultValue(const TypeSpec& type) {
    if (type.array) {
        switch (type.base) {
        case BaseType::kInt:
            return MelValue(std::vector<int>());
        case BaseType::kFloat:
            return MelValue(std::vector<double>());
        case BaseType::kString:
            return MelValue(std::vector<std::string>());
        }
    }
    switch (type.base) {
    case BaseType::kInt:
        return MelValue(0);
    case BaseType::kFloat:
        return MelValue(0.0);
    case BaseType::kString:
        break;
    }
    return MelValue(std::string());
}

// The variable type a value would get from an implicit declaration.
TypeSpec typeOf(const MelValue& value) {
    switch (value.type()) {
    case MelValue::Type::kInt:
        return {BaseType::kInt, false};
    case MelValue::Type::kFloat:
        return {BaseType::kFloat, false};
    case MelValue::Type::kIntArray:
        return {BaseType::kInt, true};
    case MelValue::Type::kFloatArray:
        return {BaseType::kFloat, true};
    case MelValue::Type::kStringArray:
        return {BaseType::kString, true};
    default:
        return {BaseType::kString, false};
    }
}

// Resizes the array held by value (of the given base type) to n elements.
void resizeArray(MelValue& value, BaseType base, std::size_t n) {
    switch (base) {
    case BaseType::kInt:
        value.intArray()->resize(n, 0);
        break;
    case BaseType::kFloat:
        value.floatArray()->resize(n, 0.0);
        break;
    case BaseType::kString:
        value.stringArray()->resize(n);
        break;
    }
}

bool isFlagText(const std::string& text) {
    return text.size() > 1 && text[0] == '-' && std::isalpha(static_cast<unsigned char>(text[1]));
}

// Pushes a block scope on the current frame for the life of the object.
struct BlockScope {
    explicit BlockScope(Frame& f) : frame(f) { frame.blocks.emplace_back(); }
    ~BlockScope() { frame.blocks.pop_back(); }
    Frame& frame;
};

struct FramePush {
    FramePush(std::vector<Frame*>& s, Frame* f) : stack(s) { stack.push_back(f); }
    ~FramePush() { stack.pop_back(); }
    std::vector<Frame*>& stack;
};

struct DepthCount {
    explicit DepthCount(int& d) : depth(d) { ++depth; }
    ~DepthCount() { --depth; }
    int& depth;
};

} // namespace

MelValue Interpreter::convert(const MelValue& value, const TypeSpec& type, int line) {
    if (value.isNone())
        return defaultValue(type);
    if (value.isArray() != type.array)
        raise(line, "Cannot convert data of type " + typeName(value) + " to type " +
                        typeName(type) + ".");
    if (type.array) {
        switch (type.base) {
        case BaseType::kInt:
            return MelValue(value.asIntArray());
        case BaseType::kFloat:
            return MelValue(value.asFloatArray());
        case BaseType::kString:
            return MelValue(value.asStringArray());
        }
    }
    switch (type.base) {
    case BaseType::kInt:
        return MelValue(value.asInt());
    case BaseType::kFloat:
        return MelValue(value.asFloat());
    case BaseType::kString:
        break;
    }
    return MelValue(value.asString());
}

bool Interpreter::truth(const MelValue& value, int line) {
    if (value.isArray())
        raise(line, "An array cannot be used as a condition.");
    return value.asFloat() != 0.0;
}

VariablePtr Interpreter::variableForWrite(const Expr& variable, const TypeSpec& ifNew) {
    if (VariablePtr var = lookup(variable.name))
        return var;
    auto var = std::make_shared<Variable>();
    var->type = ifNew;
    var->value = defaultValue(ifNew);
    innermost()[variable.name] = var;
    return var;
}

// ---- Statements ------------------------------------------------------------------------------

Interpreter::Flow Interpreter::exec(const Stmt& s) {
    switch (s.kind) {
    case Stmt::Kind::kEmpty:
        return Flow::kNormal;
    case Stmt::Kind::kExpr: {
        MelValue value = evaluate(*s.expr);
        if (frame().topLevel)
            frame().lastValue = std::move(value);
        return Flow::kNormal;
    }
    case Stmt::Kind::kDecl:
        declare(s);
        return Flow::kNormal;
    case Stmt::Kind::kBlock: {
        BlockScope scope(frame());
        for (const StmtPtr& child : s.statements) {
            Flow flow = exec(*child);
            if (flow != Flow::kNormal)
                return flow;
        }
        return Flow::kNormal;
    }
    case Stmt::Kind::kIf:
        if (truth(evaluate(*s.cond), s.line))
            return exec(*s.body);
        return s.elseBody ? exec(*s.elseBody) : Flow::kNormal;
    case Stmt::Kind::kWhile:
        while (truth(evaluate(*s.cond), s.line)) {
            bool stop = false;
            Flow flow = execLoopBody(*s.body, stop);
            if (flow == Flow::kReturn)
                return flow;
            if (stop)
                break;
        }
        return Flow::kNormal;
    case Stmt::Kind::kDoWhile:
        do {
            bool stop = false;
            Flow flow = execLoopBody(*s.body, stop);
            if (flow == Flow::kReturn)
                return flow;
            if (stop)
                break;
        } while (truth(evaluate(*s.cond), s.line));
        return Flow::kNormal;
    case Stmt::Kind::kFor:
        for (const ExprPtr& init : s.inits)
            evaluate(*init);
        while (!s.cond || truth(evaluate(*s.cond), s.line)) {
            bool stop = false;
            Flow flow = execLoopBody(*s.body, stop);
            if (flow == Flow::kReturn)
                return flow;
            if (stop)
                break;
            for (const ExprPtr& step : s.steps)
                evaluate(*step);
        }
        return Flow::kNormal;
    case Stmt::Kind::kForIn: {
        MelValue array = evaluate(*s.expr);
        if (!array.isArray() && !array.isNone())
            raise(s.line, "for-in needs an array, not " + typeName(array) + ".");
        VariablePtr var;
        if (s.declaresVar) {
            var = std::make_shared<Variable>();
            var->type = s.type;
            var->value = defaultValue(s.type);
            innermost()[s.var] = var;
        } else {
            TypeSpec element = typeOf(array);
            element.array = false;
            Expr name(Expr::Kind::kVariable, s.line);
            name.name = s.var;
            var = variableForWrite(name, element);
        }
        if (var->type.array)
            raise(s.line, "The variable $" + s.var + " of a for-in loop cannot be an array.");
        std::vector<std::string> strings;
        std::vector<double> numbers;
        bool textual = array.type() == MelValue::Type::kStringArray;
        if (textual)
            strings = array.asStringArray();
        else
            numbers = array.asFloatArray();
        std::size_t n = textual ? strings.size() : numbers.size();
        for (std::size_t i = 0; i < n; ++i) {
            MelValue element = textual ? MelValue(strings[i])
                               : array.type() == MelValue::Type::kIntArray
                                   ? MelValue(static_cast<int>(numbers[i]))
                                   : MelValue(numbers[i]);
            var->value = convert(element, var->type, s.line);
            bool stop = false;
            Flow flow = execLoopBody(*s.body, stop);
            if (flow == Flow::kReturn)
                return flow;
            if (stop)
                break;
        }
        return Flow::kNormal;
    }
    case Stmt::Kind::kReturn:
        frame().returnValue = s.expr ? evaluate(*s.expr) : MelValue();
        return Flow::kReturn;
    case Stmt::Kind::kBreak:
        return Flow::kBreak;
    case Stmt::Kind::kContinue:
        return Flow::kContinue;
    case Stmt::Kind::kSwitch:
        return execSwitch(s);
    }
    return Flow::kNormal;
}

// Runs a loop body; stop is set by break. A return passes through.
Interpreter::Flow Interpreter::execLoopBody(const Stmt& body, bool& stop) {
    Flow flow = exec(body);
    if (flow == Flow::kBreak)
        stop = true;
    return flow == Flow::kReturn ? flow : Flow::kNormal;
}

Interpreter::Flow Interpreter::execSwitch(const Stmt& s) {
    MelValue value = evaluate(*s.expr);
    const SwitchCase* chosen = nullptr;
    for (const SwitchCase& c : s.cases) {
        if (!c.value)
            continue;
        MelValue caseValue = evaluate(*c.value);
        if (truth(arithmetic(Tok::kEq, value, caseValue, s.line), s.line)) {
            chosen = &c;
            break;
        }
    }
    if (!chosen)
        for (const SwitchCase& c : s.cases)
            if (!c.value)
                chosen = &c;
    if (!chosen)
        return Flow::kNormal;
    BlockScope scope(frame());
    for (std::size_t i = chosen->firstStatement; i < s.statements.size(); ++i) {
        Flow flow = exec(*s.statements[i]);
        if (flow == Flow::kBreak)
            break;
        if (flow != Flow::kNormal)
            return flow;
    }
    return Flow::kNormal;
}

void Interpreter::declare(const Stmt& s) {
    for (const VarDecl& d : s.decls) {
        TypeSpec type = s.type;
        type.array = d.array;
        if (s.global) {
            auto found = globals_.find(d.name);
            VariablePtr var;
            if (found != globals_.end()) {
                var = found->second;
                if (var->type.base != type.base || var->type.array != type.array)
                    raise(d.line, "Invalid redeclaration of variable \"$" + d.name +
                                      "\" as a different type.");
            } else {
                // Initialised once, when the global comes to exist.
                var = std::make_shared<Variable>();
                var->type = type;
                var->value = d.init ? convert(evaluate(*d.init), type, d.line) : defaultValue(type);
                if (d.size && !d.init)
                    resizeArray(var->value, type.base,
                                static_cast<std::size_t>(std::max(0, evaluate(*d.size).asInt())));
                globals_[d.name] = var;
            }
            innermost()[d.name] = var;
            continue;
        }
        MelValue value = d.init ? convert(evaluate(*d.init), type, d.line) : defaultValue(type);
        if (d.size && !d.init)
            resizeArray(value, type.base,
                        static_cast<std::size_t>(std::max(0, evaluate(*d.size).asInt())));
        Scope& scope = innermost();
        auto found = scope.find(d.name);
        if (found != scope.end()) {
            const TypeSpec& old = found->second->type;
            if (old.base != type.base || old.array != type.array)
                raise(d.line,
                      "Invalid redeclaration of variable \"$" + d.name + "\" as a different type.");
            found->second->value = std::move(value);
            continue;
        }
        auto var = std::make_shared<Variable>();
        var->type = type;
        var->value = std::move(value);
        scope[d.name] = var;
    }
}

// ---- Expressions -----------------------------------------------------------------------------

MelValue Interpreter::evaluate(const Expr& e) {
    switch (e.kind) {
    case Expr::Kind::kLiteral:
        return e.value;
    case Expr::Kind::kVariable: {
        VariablePtr var = lookup(e.name);
        if (!var)
            raise(e.line, "\"$" + e.name + "\" is an undeclared variable.");
        return var->value;
    }
    case Expr::Kind::kIndex:
        return readIndex(e);
    case Expr::Kind::kUnary: {
        MelValue v = evaluate(*e.a);
        if (e.op == Tok::kNot) {
            return MelValue(truth(v, e.line) ? 0 : 1);
        }
        if (!v.isNumber())
            raise(e.line, std::string("Unary ") + describe(e.op) + " cannot be used with " +
                              typeName(v) + ".");
        if (e.op == Tok::kPlus)
            return v;
        if (v.type() == MelValue::Type::kInt)
            return MelValue(wrap(-static_cast<std::int64_t>(v.asInt())));
        return MelValue(-v.asFloat());
    }
    case Expr::Kind::kBinary:
        return arithmetic(e.op, evaluate(*e.a), evaluate(*e.b), e.line);
    case Expr::Kind::kLogical: {
        bool left = truth(evaluate(*e.a), e.line);
        if (e.op == Tok::kAnd && !left)
            return MelValue(0);
        if (e.op == Tok::kOr && left)
            return MelValue(1);
        return MelValue(truth(evaluate(*e.b), e.line) ? 1 : 0);
    }
    case Expr::Kind::kTernary:
        return truth(evaluate(*e.a), e.line) ? evaluate(*e.b) : evaluate(*e.c);
    case Expr::Kind::kAssign:
        return assign(e);
    case Expr::Kind::kIncDec:
        return incDec(e);
    case Expr::Kind::kCall:
        return call(e);
    case Expr::Kind::kArray:
        return arrayLiteral(e);
    case Expr::Kind::kCast: {
        MelValue v = evaluate(*e.a);
        if (v.isArray())
            raise(e.line, "An array cannot be cast to a scalar type.");
        return convert(v, TypeSpec{e.castType, false}, e.line);
    }
    }
    return MelValue();
}

MelValue Interpreter::arithmetic(Tok op, const MelValue& a, const MelValue& b, int line) {
    if (a.isArray() || b.isArray())
        raise(line, std::string("The operator ") + describe(op) + " cannot be used with " +
                        typeName(a.isArray() ? a : b) + ".");
    bool textual = a.isString() || b.isString();
    bool integral =
        !textual && a.type() != MelValue::Type::kFloat && b.type() != MelValue::Type::kFloat;
    switch (op) {
    case Tok::kPlus:
        if (textual)
            return MelValue(a.asString() + b.asString());
        if (integral)
            return MelValue(wrap(static_cast<std::int64_t>(a.asInt()) + b.asInt()));
        return MelValue(a.asFloat() + b.asFloat());
    case Tok::kEq:
    case Tok::kNe:
    case Tok::kLt:
    case Tok::kGt:
    case Tok::kLe:
    case Tok::kGe: {
        int order;
        if (a.isString() && b.isString()) {
            int c = a.asString().compare(b.asString());
            order = c < 0 ? -1 : c > 0 ? 1 : 0;
        } else {
            double x = a.asFloat(), y = b.asFloat();
            order = x < y ? -1 : x > y ? 1 : 0;
        }
        bool result = op == Tok::kEq   ? order == 0
                      : op == Tok::kNe ? order != 0
                      : op == Tok::kLt ? order < 0
                      : op == Tok::kGt ? order > 0
                      : op == Tok::kLe ? order <= 0
                                       : order >= 0;
        return MelValue(result ? 1 : 0);
    }
    default:
        break;
    }
    if (textual)
        raise(line, std::string("The operator ") + describe(op) + " cannot be used with a string.");
    if (integral) {
        std::int64_t x = a.asInt(), y = b.asInt();
        switch (op) {
        case Tok::kMinus:
            return MelValue(wrap(x - y));
        case Tok::kStar:
            return MelValue(wrap(x * y));
        case Tok::kSlash:
            if (y == 0)
                raise(line, "Division by zero.");
            return MelValue(wrap(x / y));
        case Tok::kPercent:
            if (y == 0)
                raise(line, "Division by zero.");
            return MelValue(wrap(x % y));
        default:
            break;
        }
    } else {
        double x = a.asFloat(), y = b.asFloat();
        switch (op) {
        case Tok::kMinus:
            return MelValue(x - y);
        case Tok::kStar:
            return MelValue(x * y);
        case Tok::kSlash:
            if (y == 0.0)
                raise(line, "Division by zero.");
            return MelValue(x / y);
        case Tok::kPercent:
            if (y == 0.0)
                raise(line, "Division by zero.");
            return MelValue(std::fmod(x, y));
        default:
            break;
        }
    }
    raise(line, std::string("The operator ") + describe(op) + " is not supported.");
}

MelValue Interpreter::readIndex(const Expr& e) {
    VariablePtr var = lookup(e.a->name);
    if (!var)
        raise(e.line, "\"$" + e.a->name + "\" is an undeclared variable.");
    if (!var->type.array)
        raise(e.line, "\"$" + e.a->name + "\" is not an array.");
    int index = evaluate(*e.b).asInt();
    if (index < 0)
        raise(e.line,
              "Array index out of bounds: $" + e.a->name + "[" + std::to_string(index) + "].");
    std::size_t i = static_cast<std::size_t>(index);
    MelValue& v = var->value;
    switch (var->type.base) {
    case BaseType::kInt: {
        const auto& a = *v.intArray();
        return MelValue(i < a.size() ? a[i] : 0);
    }
    case BaseType::kFloat: {
        const auto& a = *v.floatArray();
        return MelValue(i < a.size() ? a[i] : 0.0);
    }
    case BaseType::kString:
        break;
    }
    const auto& a = *v.stringArray();
    return MelValue(i < a.size() ? a[i] : std::string());
}

MelValue Interpreter::store(const Expr& target, const MelValue& value, int line) {
    if (target.kind == Expr::Kind::kVariable) {
        if (value.isNone() && !lookup(target.name))
            raise(line, "$" + target.name + " cannot be declared from a value of nothing.");
        VariablePtr var = variableForWrite(target, typeOf(value));
        var->value = convert(value, var->type, line);
        return var->value;
    }
    // An element: the array comes to exist, or grows, as needed.
    TypeSpec arrayType = typeOf(value);
    arrayType.array = true;
    VariablePtr var = variableForWrite(*target.a, arrayType);
    if (!var->type.array)
        raise(line, "\"$" + target.a->name + "\" is not an array.");
    if (value.isArray())
        raise(line, "An array cannot be stored in an element of $" + target.a->name + ".");
    int index = evaluate(*target.b).asInt();
    if (index < 0)
        raise(line,
              "Array index out of bounds: $" + target.a->name + "[" + std::to_string(index) + "].");
    std::size_t i = static_cast<std::size_t>(index);
    MelValue& v = var->value;
    if (v.size() <= i)
        resizeArray(v, var->type.base, i + 1);
    switch (var->type.base) {
    case BaseType::kInt:
        (*v.intArray())[i] = value.asInt();
        return MelValue((*v.intArray())[i]);
    case BaseType::kFloat:
        (*v.floatArray())[i] = value.asFloat();
        return MelValue((*v.floatArray())[i]);
    case BaseType::kString:
        break;
    }
    (*v.stringArray())[i] = value.asString();
    return MelValue((*v.stringArray())[i]);
}

MelValue Interpreter::assign(const Expr& e) {
    MelValue value = evaluate(*e.b);
    if (e.op != Tok::kAssign) {
        Tok op = e.op == Tok::kPlusAssign    ? Tok::kPlus
                 : e.op == Tok::kMinusAssign ? Tok::kMinus
                 : e.op == Tok::kStarAssign  ? Tok::kStar
                                             : Tok::kSlash;
        value = arithmetic(op, evaluate(*e.a), value, e.line);
    }
    return store(*e.a, value, e.line);
}

MelValue Interpreter::incDec(const Expr& e) {
    MelValue old = evaluate(*e.a);
    if (!old.isNumber())
        raise(e.line, std::string(describe(e.op)) + " cannot be used with " + typeName(old) + ".");
    MelValue one(1);
    MelValue updated =
        arithmetic(e.op == Tok::kIncrement ? Tok::kPlus : Tok::kMinus, old, one, e.line);
    updated = store(*e.a, updated, e.line);
    return e.prefix ? updated : old;
}

MelValue Interpreter::arrayLiteral(const Expr& e) {
    std::vector<MelValue> items;
    bool anyString = false, anyFloat = false;
    for (const ExprPtr& item : e.items) {
        items.push_back(evaluate(*item));
        const MelValue& v = items.back();
        if (v.isArray())
            raise(e.line, "Arrays cannot hold arrays.");
        anyString = anyString || v.isString() || v.isNone();
        anyFloat = anyFloat || v.type() == MelValue::Type::kFloat;
    }
    if (anyString || items.empty()) {
        std::vector<std::string> out;
        for (const MelValue& v : items)
            out.push_back(v.asString());
        return MelValue(std::move(out));
    }
    if (anyFloat) {
        std::vector<double> out;
        for (const MelValue& v : items)
            out.push_back(v.asFloat());
        return MelValue(std::move(out));
    }
    std::vector<int> out;
    for (const MelValue& v : items)
        out.push_back(v.asInt());
    return MelValue(std::move(out));
}

// ---- Calls -----------------------------------------------------------------------------------

void Interpreter::autoSource(const std::string& name) {
    if (autoSourcing_.count(name))
        return;
    std::string path = findScript(name + ".mel");
    if (path.empty())
        return;
    autoSourcing_.insert(name);
    runFile(path);
    autoSourcing_.erase(name);
}

MelValue Interpreter::call(const Expr& e) {
    auto special = specialForms_.find(e.name);
    if (special != specialForms_.end())
        return special->second(*this, e);
    std::shared_ptr<const Procedure> proc = findProcedure(e.name);
    if (proc)
        return callProcedure(proc, e);
    auto command = commands_.find(e.name);
    if (command == commands_.end()) {
        autoSource(e.name);
        proc = findProcedure(e.name);
        if (proc)
            return callProcedure(proc, e);
        command = commands_.find(e.name);
        if (command == commands_.end())
            raise(e.line, "Cannot find procedure \"" + e.name + "\".");
    }
    // The entry is copied: a handler may register or remove commands while it runs.
    CommandEntry entry = command->second;
    return callCommand(e.name, entry, e);
}

MelValue Interpreter::callProcedure(const std::shared_ptr<const Procedure>& proc, const Expr& e) {
    if (e.args.size() != proc->params.size())
        raise(e.line, "Wrong number of arguments on call to " + proc->name + ": " +
                          std::to_string(e.args.size()) + " given, " +
                          std::to_string(proc->params.size()) + " expected.");
    // Arguments are evaluated in the caller's frame. An array variable passed to an array
    // parameter of its own type is shared, as MEL passes arrays by reference.
    Scope locals;
    for (std::size_t i = 0; i < e.args.size(); ++i) {
        const Param& param = proc->params[i];
        const CallArg& arg = e.args[i];
        VariablePtr shared;
        if (!arg.isFlag && arg.expr->kind == Expr::Kind::kVariable && param.type.array) {
            VariablePtr var = lookup(arg.expr->name);
            if (var && var->type.array && var->type.base == param.type.base)
                shared = var;
        }
        if (!shared) {
            MelValue value = arg.isFlag ? MelValue("-" + arg.flag) : evaluate(*arg.expr);
            if (value.isArray() != param.type.array)
                raise(e.line, "Argument $" + param.name + " of " + proc->name + " takes " +
                                  typeName(param.type) + ", not " + typeName(value) + ".");
            shared = std::make_shared<Variable>();
            shared->type = param.type;
            shared->value = convert(value, param.type, e.line);
        }
        locals[param.name] = shared;
    }
    if (callDepth_ >= kMaxCallDepth)
        raise(e.line, "Procedure calls nested too deeply (" + std::to_string(kMaxCallDepth) +
                          ") in " + proc->name + ".");
    DepthCount depth(callDepth_);
    Frame f;
    f.base = &locals;
    f.sourceName = proc->sourceName;
    f.topLevel = false;
    {
        FramePush push(frames_, &f);
        exec(*proc->body);
    }
    if (!proc->returnsValue)
        return MelValue();
    if (f.returnValue.isNone())
        return defaultValue(proc->returnType);
    if (f.returnValue.isArray() != proc->returnType.array)
        raise(e.line, proc->name + " returns " + typeName(proc->returnType) + ", not " +
                          typeName(f.returnValue) + ".");
    return convert(f.returnValue, proc->returnType, e.line);
}

MelValue Interpreter::callCommand(const std::string& name, const CommandEntry& entry,
                                  const Expr& e) {
    std::vector<MelArg> raw;
    for (const CallArg& arg : e.args) {
        MelArg a;
        if (arg.isFlag) {
            a.isFlag = true;
            a.flag = arg.flag;
        } else {
            a.value = evaluate(*arg.expr);
            if (!e.commandStyle && a.value.isString()) {
                const std::string text = a.value.asString();
                if (isFlagText(text) && entry.syntax.find(text.substr(1))) {
                    a.isFlag = true;
                    a.flag = text.substr(1);
                    a.value = MelValue();
                }
            }
        }
        raw.push_back(std::move(a));
    }
    MelCall call(name, currentSource(), e.line);
    if (!call.bind(entry.syntax, std::move(raw)))
        throw Abort{};
    std::size_t errorsBefore = displayedErrorCount();
    MStatus status = MS::kFailure;
    try {
        status = entry.handler(call);
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& ex) {
        call.error(name + ": internal error: " + ex.what());
    } catch (...) {
        call.error(name + ": internal error");
    }
    if (call.failed() || status != MS::kSuccess) {
        if (!call.failed() && displayedErrorCount() == errorsBefore)
            showError(where(e.line) + ": " + name + ": command failed.");
        throw Abort{};
    }
    return call.result();
}

} // namespace mel
} // namespace host
