// MEL's language-level commands: output and errors, running other MEL, introspection, the
// session's identity and option variables.

#include "mel/interpreter.h"

#include "host/messages.h"

#include <cstdlib>

namespace host {
namespace mel {

namespace {

std::string joinArgs(const MelCall& call) {
    std::string text;
    for (const MelValue& v : call.args()) {
        if (!text.empty())
            text += ' ';
        text += v.asString();
    }
    return text;
}

MStatus print(MelCall& call) {
    const MelValue& v = call.args().front();
    if (v.isArray()) {
        std::string text;
        for (const std::string& s : v.asStringArray())
            text += s + "\n";
        displayMessage(MessageKind::kOutput, text);
    } else {
        displayMessage(MessageKind::kOutput, v.asString());
    }
    return MS::kSuccess;
}

MStatus error(MelCall& call) {
    std::string text = joinArgs(call);
    if (call.has("noContext")) {
        if (!Interpreter::instance().quiet())
            displayMessage(MessageKind::kError, text);
        return MS::kFailure;
    }
    call.error(text);
    return MS::kFailure;
}

MStatus warning(MelCall& call) {
    displayMessage(MessageKind::kWarning, joinArgs(call));
    return MS::kSuccess;
}

MStatus size(MelCall& call) {
    const MelValue& v = call.args().front();
    std::size_t n = v.isArray() ? v.size() : v.asString().size();
    call.setResult(MelValue(static_cast<int>(n)));
    return MS::kSuccess;
}

MStatus about(MelCall& call) {
    // The host is a batch session of the 2013 release on 64-bit Linux.
    if (call.has("batch"))
        call.setResult(MelValue(1));
    else if (call.has("version"))
        call.setResult(MelValue("2013"));
    else if (call.has("apiVersion"))
        call.setResult(MelValue(MAYA_API_VERSION));
    else if (call.has("operatingSystem"))
        call.setResult(MelValue("linux64"));
    else if (call.has("linux") || call.has("is64"))
        call.setResult(MelValue(1));
    else if (call.has("windows") || call.has("macOS"))
        call.setResult(MelValue(0));
    else if (call.has("application"))
        call.setResult(MelValue("maya"));
    else if (call.has("product"))
        call.setResult(MelValue("Maya"));
    else {
        call.error("about: give one of its flags, for example -version.");
        return MS::kFailure;
    }
    return MS::kSuccess;
}

MStatus optionVar(MelCall& call) {
    auto& vars = Interpreter::instance().optionVars();
    auto setAll = [&](const char* flag, auto convert) {
        for (const auto& use : call.uses(flag))
            vars[use[0].asString()] = convert(use[1]);
    };
    setAll("intValue", [](const MelValue& v) { return MelValue(v.asInt()); });
    setAll("floatValue", [](const MelValue& v) { return MelValue(v.asFloat()); });
    setAll("stringValue", [](const MelValue& v) { return MelValue(v.asString()); });
    for (const auto& use : call.uses("intValueAppend")) {
        std::vector<int> a = vars[use[0].asString()].asIntArray();
        a.push_back(use[1].asInt());
        vars[use[0].asString()] = MelValue(std::move(a));
    }
    for (const auto& use : call.uses("floatValueAppend")) {
        std::vector<double> a = vars[use[0].asString()].asFloatArray();
        a.push_back(use[1].asFloat());
        vars[use[0].asString()] = MelValue(std::move(a));
    }
    for (const auto& use : call.uses("stringValueAppend")) {
        std::vector<std::string> a = vars[use[0].asString()].asStringArray();
        a.push_back(use[1].asString());
        vars[use[0].asString()] = MelValue(std::move(a));
    }
    for (const auto& use : call.uses("clearArray"))
        vars[use[0].asString()] = MelValue(std::vector<std::string>());
    for (const auto& use : call.uses("remove"))
        vars.erase(use[0].asString());
    if (call.has("exists")) {
        call.setResult(MelValue(vars.count(call.stringValue("exists")) ? 1 : 0));
    } else if (call.has("query")) {
        auto found = vars.find(call.stringValue("query"));
        call.setResult(found == vars.end() ? MelValue(0) : found->second);
    } else if (call.has("arraySize")) {
        auto found = vars.find(call.stringValue("arraySize"));
        call.setResult(MelValue(found == vars.end() ? 0 : static_cast<int>(found->second.size())));
    } else if (call.has("list")) {
        std::vector<std::string> names;
        for (const auto& entry : vars)
            names.push_back(entry.first);
        call.setResult(MelValue(std::move(names)));
    }
    return MS::kSuccess;
}

// catch / catchQuiet: 1 if evaluating the argument failed, 0 otherwise. The error of catch is
// shown; catchQuiet shows none.
SpecialForm catchForm(bool quiet) {
    return [quiet](Interpreter& in, const Expr& e) {
        if (e.args.size() != 1 || e.args[0].isFlag)
            in.raise(e.line, e.name + " takes one expression.");
        try {
            if (quiet) {
                Interpreter::QuietScope silence(in);
                in.evaluate(*e.args[0].expr);
            } else {
                in.evaluate(*e.args[0].expr);
            }
        } catch (const Abort&) {
            return MelValue(1);
        }
        return MelValue(0);
    };
}

MelValue clearForm(Interpreter& in, const Expr& e) {
    if (e.args.size() != 1 || e.args[0].isFlag || e.args[0].expr->kind != Expr::Kind::kVariable)
        in.raise(e.line, "clear takes one array variable.");
    VariablePtr var = in.lookup(e.args[0].expr->name);
    if (!var)
        in.raise(e.line, "\"$" + e.args[0].expr->name + "\" is an undeclared variable.");
    if (!var->type.array)
        in.raise(e.line, "clear: $" + e.args[0].expr->name + " is not an array.");
    var->value = in.convert(MelValue(std::vector<std::string>()), var->type, e.line);
    return MelValue(0);
}

} // namespace

void registerCoreCommands(Interpreter& in) {
    in.registerCommand("print", print, MelSyntax{{}, false, false, 1, 1});
    in.registerCommand("error", error,
                       MelSyntax().flag("n", "noContext").flag("sl", "showLineNumber", 1));
    in.registerCommand("warning", warning,
                       MelSyntax().flag("n", "noContext").flag("sl", "showLineNumber", 1));
    in.registerCommand("size", size, MelSyntax{{}, false, false, 1, 1});
    in.registerCommand("about", about,
                       MelSyntax()
                           .flag("b", "batch")
                           .flag("v", "version")
                           .flag("api", "apiVersion")
                           .flag("os", "operatingSystem")
                           .flag("li", "linux")
                           .flag("x64", "is64")
                           .flag("win", "windows")
                           .flag("mac", "macOS")
                           .flag("a", "application")
                           .flag("p", "product"));

    in.registerCommand(
        "source",
        [&in](MelCall& call) {
            return in.sourceFile(call.args().front().asString(), call.where() + ": ");
        },
        MelSyntax{{}, false, false, 1, 1});
    in.registerCommand(
        "eval",
        [&in](MelCall& call) {
            MelValue result;
            MStatus status = in.execute(joinArgs(call), "", &result);
            call.setResult(std::move(result));
            return status;
        },
        MelSyntax{{}, false, false, 1, -1});
    // Queued until the outermost execution returns: see mel.h.
    in.registerCommand(
        "evalDeferred",
        [&in](MelCall& call) {
            if (call.has("list")) {
                call.setResult(MelValue(in.deferred()));
                return MStatus(MS::kSuccess);
            }
            if (call.args().empty()) {
                call.error("evalDeferred: give the command to run.");
                return MStatus(MS::kFailure);
            }
            in.defer(joinArgs(call), call.has("evaluateNext"));
            return MStatus(MS::kSuccess);
        },
        MelSyntax().flag("lp", "lowestPriority").flag("en", "evaluateNext").flag("ls", "list"));
    in.registerCommand(
        "exists",
        [&in](MelCall& call) {
            std::string name = call.args().front().asString();
            bool found = in.findProcedure(name) || in.commandExists(name);
            call.setResult(MelValue(found ? 1 : 0));
            return MStatus(MS::kSuccess);
        },
        MelSyntax{{}, false, false, 1, 1});
    in.registerCommand(
        "whatIs",
        [&in](MelCall& call) {
            call.setResult(MelValue(in.whatIs(call.args().front().asString())));
            return MStatus(MS::kSuccess);
        },
        MelSyntax{{}, false, false, 1, 1});
    in.registerCommand(
        "getenv",
        [](MelCall& call) {
            const char* value = std::getenv(call.args().front().asString().c_str());
            call.setResult(MelValue(value ? value : ""));
            return MStatus(MS::kSuccess);
        },
        MelSyntax{{}, false, false, 1, 1});
    in.registerCommand("optionVar", optionVar,
                       MelSyntax()
                           .flag("iv", "intValue", 2, true)
                           .flag("fv", "floatValue", 2, true)
                           .flag("sv", "stringValue", 2, true)
                           .flag("iva", "intValueAppend", 2, true)
                           .flag("fva", "floatValueAppend", 2, true)
                           .flag("sva", "stringValueAppend", 2, true)
                           .flag("ca", "clearArray", 1, true)
                           .flag("rm", "remove", 1, true)
                           .flag("ex", "exists", 1)
                           .flag("q", "query", 1)
                           .flag("as", "arraySize", 1)
                           .flag("l", "list"));

    in.registerSpecialForm("catch", catchForm(false));
    in.registerSpecialForm("catchQuiet", catchForm(true));
    in.registerSpecialForm("clear", clearForm);
}

} // namespace mel
} // namespace host
