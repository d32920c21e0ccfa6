#pragma once
// The parsed form of a MEL file or command text. A Script owns its top-level statements; each
// Procedure owns its body and is shared with the session's procedure table, so redefining a
// procedure while it runs leaves the running body alive.

#include "host/mel.h"
#include "mel/lexer.h"

#include <memory>
#include <string>
#include <vector>

namespace host {
namespace mel {

enum class BaseType { kInt, kFloat, kString };

struct TypeSpec {
    BaseType base = BaseType::kString;
    bool array = false;
};

struct Expr;
struct Stmt;
using ExprPtr = std::unique_ptr<Expr>;
using StmtPtr = std::unique_ptr<Stmt>;

// An argument of a call: a flag written in command syntax, or an expression.
struct CallArg {
    bool isFlag = false;
    std::string flag;
    ExprPtr expr;
};

struct Expr {
    enum class Kind {
        kLiteral,  // value
        kVariable, // name
        kIndex,    // a[b]; a is a kVariable
        kUnary,    // op a  (kMinus, kPlus, kNot)
        kBinary,   // a op b (arithmetic and comparison)
        kLogical,  // a && b, a || b
        kTernary,  // a ? b : c
        kAssign,   // a op b; a is a kVariable or kIndex; op kAssign or a compound
        kIncDec,   // ++a, a--, ...; prefix says which
        kCall,     // name(args) or name args; commandStyle says which
        kArray,    // { items }
        kCast      // (castType) a
    };
    Kind kind;
    int line = 0;
    MelValue value;
    std::string name;
    Tok op = Tok::kEnd;
    bool prefix = false;
    bool commandStyle = false;
    BaseType castType = BaseType::kInt;
    ExprPtr a, b, c;
    std::vector<CallArg> args;
    std::vector<ExprPtr> items;

    Expr(Kind k, int l) : kind(k), line(l) {}
};

struct VarDecl {
    std::string name;
    bool array = false;
    ExprPtr size; // int $a[5]: reserved size (elements start at their default)
    ExprPtr init;
    int line = 0;
};

struct SwitchCase {
    ExprPtr value; // nullptr for default
    std::size_t firstStatement = 0;
};

struct Stmt {
    enum class Kind {
        kEmpty,
        kExpr,    // expr
        kDecl,    // global, type, decls
        kBlock,   // statements
        kIf,      // cond, body, elseBody
        kWhile,   // cond, body
        kDoWhile, // body, cond
        kFor,     // inits, cond, steps, body
        kForIn,   // var (declared with varType when declaresVar), expr, body
        kReturn,  // expr (may be null)
        kBreak,
        kContinue,
        kSwitch // expr, cases, statements
    };
    Kind kind;
    int line = 0;
    ExprPtr expr, cond;
    std::vector<ExprPtr> inits, steps;
    StmtPtr body, elseBody;
    std::vector<StmtPtr> statements;
    bool global = false;
    TypeSpec type;
    std::vector<VarDecl> decls;
    std::string var;
    bool declaresVar = false;
    std::vector<SwitchCase> cases;

    Stmt(Kind k, int l) : kind(k), line(l) {}
};

struct Param {
    TypeSpec type;
    std::string name;
};

struct Procedure {
    std::string name;
    bool global = false;
    bool returnsValue = false;
    TypeSpec returnType;
    std::vector<Param> params;
    StmtPtr body;
    std::string sourceName;
    int line = 0;
};

struct Script {
    std::string sourceName;
    std::vector<StmtPtr> statements;
    std::vector<std::shared_ptr<Procedure>> procedures; // in file order
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Parses a whole text. Returns nullptr and fills error on a syntax error.
std::unique_ptr<Script> parse(const std::string& text, const std::string& sourceName,
                              ParseError& error);

} // namespace mel
} // namespace host
