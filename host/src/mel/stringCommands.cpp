// MEL's string, array and arithmetic functions.

#include "mel/interpreter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fnmatch.h>
#include <regex>

namespace host {
namespace mel {

namespace {

MelSyntax positional(int n) {
    return MelSyntax{{}, false, false, n, n};
}

MStatus substring(MelCall& call) {
    std::string s = call.args()[0].asString();
    int start = call.args()[1].asInt();
    int end = call.args()[2].asInt();
    if (start < 1 || end < 1) {
        call.error("substring: the positions start at 1.");
        return MS::kFailure;
    }
    end = std::min(end, static_cast<int>(s.size()));
    call.setResult(MelValue(start > end ? std::string()
                                        : s.substr(static_cast<std::size_t>(start - 1),
                                                   static_cast<std::size_t>(end - start + 1))));
    return MS::kSuccess;
}

// MEL regular expressions read as ECMAScript ones for what scripts use: . * + ? [] ^ $ ().
bool compile(MelCall& call, const std::string& pattern, std::regex& re) {
    try {
        re = std::regex(pattern);
        return true;
    } catch (const std::regex_error&) {
        call.error(call.command() + ": invalid regular expression \"" + pattern + "\".");
        return false;
    }
}

MStatus match(MelCall& call) {
    std::regex re;
    if (!compile(call, call.args()[0].asString(), re))
        return MS::kFailure;
    std::string s = call.args()[1].asString();
    std::smatch m;
    call.setResult(MelValue(std::regex_search(s, m, re) ? m.str(0) : std::string()));
    return MS::kSuccess;
}

MStatus substitute(MelCall& call) {
    std::regex re;
    if (!compile(call, call.args()[0].asString(), re))
        return MS::kFailure;
    std::string s = call.args()[1].asString();
    std::string replacement = call.args()[2].asString();
    std::smatch m;
    if (std::regex_search(s, m, re))
        s = m.prefix().str() + replacement + m.suffix().str();
    call.setResult(MelValue(s));
    return MS::kSuccess;
}

MStatus gmatch(MelCall& call) {
    std::string pattern = call.args()[1].asString();
    std::string subject = call.args()[0].asString();
    int r = fnmatch(pattern.c_str(), subject.c_str(), 0);
    call.setResult(MelValue(r == 0 ? 1 : 0));
    return MS::kSuccess;
}

MStatus strip(MelCall& call) {
    std::string s = call.args()[0].asString();
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    auto begin = std::find_if_not(s.begin(), s.end(), blank);
    auto end = std::find_if_not(s.rbegin(), s.rend(), blank).base();
    call.setResult(MelValue(begin < end ? std::string(begin, end) : std::string()));
    return MS::kSuccess;
}

MStatus changeCase(MelCall& call, bool upper) {
    std::string s = call.args()[0].asString();
    for (char& c : s)
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                    : std::tolower(static_cast<unsigned char>(c)));
    call.setResult(MelValue(s));
    return MS::kSuccess;
}

MStatus affix(MelCall& call, bool atStart) {
    std::string s = call.args()[0].asString();
    std::string a = call.args()[1].asString();
    bool found =
        a.size() <= s.size() && (atStart ? s.compare(0, a.size(), a) == 0
                                         : s.compare(s.size() - a.size(), a.size(), a) == 0);
    call.setResult(MelValue(found ? 1 : 0));
    return MS::kSuccess;
}

MStatus stringCompare(MelCall& call) {
    int c = call.args()[0].asString().compare(call.args()[1].asString());
    call.setResult(MelValue(c < 0 ? -1 : c > 0 ? 1 : 0));
    return MS::kSuccess;
}

// abs, min and max keep ints as ints; the others always give floats.
MStatus absolute(MelCall& call) {
    const MelValue& v = call.args()[0];
    if (v.type() == MelValue::Type::kInt)
        call.setResult(MelValue(v.asInt() < 0 ? -v.asInt() : v.asInt()));
    else
        call.setResult(MelValue(std::fabs(v.asFloat())));
    return MS::kSuccess;
}

MStatus extreme(MelCall& call, bool largest) {
    const MelValue& a = call.args()[0];
    const MelValue& b = call.args()[1];
    if (a.type() == MelValue::Type::kInt && b.type() == MelValue::Type::kInt)
        call.setResult(
            MelValue(largest ? std::max(a.asInt(), b.asInt()) : std::min(a.asInt(), b.asInt())));
    else
        call.setResult(MelValue(largest ? std::max(a.asFloat(), b.asFloat())
                                        : std::min(a.asFloat(), b.asFloat())));
    return MS::kSuccess;
}

template <double (*F)(double)> MStatus unaryMath(MelCall& call) {
    call.setResult(MelValue(F(call.args()[0].asFloat())));
    return MS::kSuccess;
}

double floorOf(double x) {
    return std::floor(x);
}
double ceilOf(double x) {
    return std::ceil(x);
}

MStatus squareRoot(MelCall& call) {
    double x = call.args()[0].asFloat();
    if (x < 0.0) {
        call.error("sqrt: the argument is negative.");
        return MS::kFailure;
    }
    call.setResult(MelValue(std::sqrt(x)));
    return MS::kSuccess;
}

MStatus power(MelCall& call) {
    call.setResult(MelValue(std::pow(call.args()[0].asFloat(), call.args()[1].asFloat())));
    return MS::kSuccess;
}

MStatus sortArray(MelCall& call) {
    MelValue v = call.args()[0];
    if (auto* s = v.stringArray())
        std::sort(s->begin(), s->end());
    else if (auto* i = v.intArray())
        std::sort(i->begin(), i->end());
    else if (auto* f = v.floatArray())
        std::sort(f->begin(), f->end());
    else {
        call.error("sort: the argument is not an array.");
        return MS::kFailure;
    }
    call.setResult(std::move(v));
    return MS::kSuccess;
}

// tokenize(text, [separators,] $array): splits at any of the separator characters (blanks
// when none are given), puts the pieces in $array and returns their number.
MelValue tokenizeForm(Interpreter& in, const Expr& e) {
    std::size_t n = e.args.size();
    bool valid =
        (n == 2 || n == 3) &&
        std::none_of(e.args.begin(), e.args.end(), [](const CallArg& a) { return a.isFlag; }) &&
        e.args.back().expr->kind == Expr::Kind::kVariable;
    if (!valid)
        in.raise(e.line, "tokenize takes a string, optional separators and a string array "
                         "variable.");
    std::string source = in.evaluate(*e.args[0].expr).asString();
    std::string separators = n == 3 ? in.evaluate(*e.args[1].expr).asString() : " \t\n\r";
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < source.size()) {
        std::size_t start = source.find_first_not_of(separators, pos);
        if (start == std::string::npos)
            break;
        std::size_t end =
            separators.empty() ? std::string::npos : source.find_first_of(separators, start);
        if (end == std::string::npos)
            end = source.size();
        pieces.push_back(source.substr(start, end - start));
        pos = end;
    }
    VariablePtr var = in.variableForWrite(*e.args.back().expr, TypeSpec{BaseType::kString, true});
    if (!var->type.array)
        in.raise(e.line, "tokenize: $" + e.args.back().expr->name + " is not an array.");
    int count = static_cast<int>(pieces.size());
    var->value = in.convert(MelValue(std::move(pieces)), var->type, e.line);
    return MelValue(count);
}

} // namespace

void registerStringCommands(Interpreter& in) {
    in.registerCommand("substring", substring, positional(3));
    in.registerCommand("match", match, positional(2));
    in.registerCommand("substitute", substitute, positional(3));
    in.registerCommand("gmatch", gmatch, positional(2));
    in.registerCommand("strip", strip, positional(1));
    in.registerCommand(
        "tolower", [](MelCall& c) { return changeCase(c, false); }, positional(1));
    in.registerCommand(
        "toupper", [](MelCall& c) { return changeCase(c, true); }, positional(1));
    in.registerCommand(
        "startsWith", [](MelCall& c) { return affix(c, true); }, positional(2));
    in.registerCommand(
        "endsWith", [](MelCall& c) { return affix(c, false); }, positional(2));
    in.registerCommand("strcmp", stringCompare, positional(2));
    in.registerCommand("abs", absolute, positional(1));
    in.registerCommand(
        "min", [](MelCall& c) { return extreme(c, false); }, positional(2));
    in.registerCommand(
        "max", [](MelCall& c) { return extreme(c, true); }, positional(2));
    in.registerCommand("floor", unaryMath<floorOf>, positional(1));
    in.registerCommand("ceil", unaryMath<ceilOf>, positional(1));
    in.registerCommand("sqrt", squareRoot, positional(1));
    in.registerCommand("pow", power, positional(2));
    in.registerCommand("sort", sortArray, positional(1));
    in.registerSpecialForm("tokenize", tokenizeForm);
}

} // namespace mel
} // namespace host
