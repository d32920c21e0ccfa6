#include "mel/ast.h"

namespace host {
namespace mel {

namespace {

// Deeper nesting than this is reported instead of risking the stack.
constexpr int kMaxNesting = 200;

bool isTypeName(const std::string& word) {
    return word == "int" || word == "float" || word == "string" || word == "vector" ||
           word == "matrix";
}

bool isBooleanWord(const std::string& word) {
    return word == "true" || word == "false" || word == "on" || word == "off" || word == "yes" ||
           word == "no";
}

bool isAssignment(Tok kind) {
    return kind == Tok::kAssign || kind == Tok::kPlusAssign || kind == Tok::kMinusAssign ||
           kind == Tok::kStarAssign || kind == Tok::kSlashAssign;
}

bool isLvalue(const Expr& e) {
    return e.kind == Expr::Kind::kVariable || e.kind == Expr::Kind::kIndex;
}

// Thrown inside the parser only; parse() turns it into a ParseError.
struct SyntaxError {
    int line;
    std::string message;
};

class Parser {
  public:
    Parser(const std::string& text, const std::string& sourceName)
        : lexer_(text), sourceName_(sourceName) {}

    std::unique_ptr<Script> run() {
        auto script = std::make_unique<Script>();
        script->sourceName = sourceName_;
        while (peek().kind != Tok::kEnd) {
            if (atProcedure())
                script->procedures.push_back(parseProcedure());
            else
                script->statements.push_back(parseStatement());
        }
        return script;
    }

  private:
    struct Nesting {
        explicit Nesting(Parser& p) : parser(p) {
            if (++parser.nesting_ > kMaxNesting)
                parser.fail(parser.line_, "nesting too deep");
        }
        ~Nesting() { --parser.nesting_; }
        Parser& parser;
    };

    [[noreturn]] void fail(int line, std::string message) { throw SyntaxError{line, message}; }

    Token peek(LexMode mode = LexMode::kExpression) {
        if (!cacheValid_ || cachePos_ != pos_ || cacheMode_ != mode) {
            cache_ = lexer_.lex(pos_, line_, mode);
            cachePos_ = pos_;
            cacheMode_ = mode;
            cacheValid_ = true;
        }
        if (cache_.kind == Tok::kError)
            fail(cache_.line, cache_.text);
        return cache_;
    }
    Token next(LexMode mode = LexMode::kExpression) {
        Token t = peek(mode);
        pos_ = t.end;
        line_ = t.endLine;
        return t;
    }
    Token after(const Token& t, LexMode mode = LexMode::kExpression) const {
        return lexer_.lex(t.end, t.endLine, mode);
    }
    Token expect(Tok kind, const std::string& context, LexMode mode = LexMode::kExpression) {
        Token t = peek(mode);
        if (t.kind != kind)
            fail(t.line,
                 std::string("expected ") + describe(kind) + " " + context + ", found " + shown(t));
        return next(mode);
    }
    bool atWord(const char* word) {
        Token t = peek();
        return t.kind == Tok::kIdent && t.text == word;
    }
    static std::string shown(const Token& t) {
        if (t.kind == Tok::kIdent)
            return "'" + t.text + "'";
        if (t.kind == Tok::kVariable)
            return "'$" + t.text + "'";
        return describe(t.kind);
    }
    void endStatement() {
        Token t = peek();
        if (t.kind == Tok::kSemicolon) {
            next();
            return;
        }
        if (t.kind == Tok::kEnd)
            return;
        fail(t.line, "expected ';' at the end of the statement, found " + shown(t));
    }

    BaseType baseType(const Token& t) {
        if (t.text == "int")
            return BaseType::kInt;
        if (t.text == "float")
            return BaseType::kFloat;
        if (t.text == "string")
            return BaseType::kString;
        fail(t.line, "the type '" + t.text + "' is not supported by this host");
    }

    bool atProcedure() {
        Token t = peek();
        if (t.kind != Tok::kIdent)
            return false;
        if (t.text == "proc")
            return true;
        if (t.text != "global")
            return false;
        Token u = after(t);
        return u.kind == Tok::kIdent && u.text == "proc";
    }

    std::shared_ptr<Procedure> parseProcedure() {
        auto proc = std::make_shared<Procedure>();
        proc->sourceName = sourceName_;
        proc->line = peek().line;
        if (atWord("global")) {
            next();
            proc->global = true;
        }
        next(); // proc
        Token name = expect(Tok::kIdent, "after 'proc'");
        if (isTypeName(name.text) && peek().kind != Tok::kLParen) {
            proc->returnsValue = true;
            proc->returnType.base = baseType(name);
            if (peek().kind == Tok::kLBracket) {
                next();
                expect(Tok::kRBracket, "in the return type");
                proc->returnType.array = true;
            }
            name = expect(Tok::kIdent, "for the procedure name");
        }
        proc->name = name.text;
        expect(Tok::kLParen, "after the procedure name");
        if (peek().kind != Tok::kRParen) {
            for (;;) {
                Token type = expect(Tok::kIdent, "for a parameter type");
                if (!isTypeName(type.text))
                    fail(type.line, "'" + type.text + "' is not a type");
                Param param;
                param.type.base = baseType(type);
                param.name = expect(Tok::kVariable, "for a parameter name").text;
                if (peek().kind == Tok::kLBracket) {
                    next();
                    expect(Tok::kRBracket, "in a parameter type");
                    param.type.array = true;
                }
                proc->params.push_back(std::move(param));
                if (peek().kind != Tok::kComma)
                    break;
                next();
            }
        }
        expect(Tok::kRParen, "after the parameters");
        if (peek().kind != Tok::kLBrace)
            fail(peek().line, "expected '{' to start the body of " + proc->name);
        proc->body = parseStatement();
        return proc;
    }

    StmtPtr parseStatement() {
        Nesting nesting(*this);
        Token t = peek();
        switch (t.kind) {
        case Tok::kLBrace:
            return parseBlock();
        case Tok::kSemicolon:
            next();
            return std::make_unique<Stmt>(Stmt::Kind::kEmpty, t.line);
        case Tok::kIdent:
            return parseWordStatement(t);
        default: {
            auto s = std::make_unique<Stmt>(Stmt::Kind::kExpr, t.line);
            s->expr = parseExpression();
            endStatement();
            return s;
        }
        }
    }

    StmtPtr parseBlock() {
        Token open = next();
        auto block = std::make_unique<Stmt>(Stmt::Kind::kBlock, open.line);
        while (peek().kind != Tok::kRBrace) {
            if (peek().kind == Tok::kEnd)
                fail(open.line, "'{' not closed with '}'");
            if (atProcedure())
                fail(peek().line, "procedures can only be defined at the top level");
            block->statements.push_back(parseStatement());
        }
        next();
        return block;
    }

    StmtPtr parseWordStatement(const Token& t) {
        const std::string& w = t.text;
        if (w == "if")
            return parseIf();
        if (w == "while") {
            next();
            auto s = std::make_unique<Stmt>(Stmt::Kind::kWhile, t.line);
            s->cond = parseCondition("while");
            s->body = parseStatement();
            return s;
        }
        if (w == "do") {
            next();
            auto s = std::make_unique<Stmt>(Stmt::Kind::kDoWhile, t.line);
            s->body = parseStatement();
            if (!atWord("while"))
                fail(peek().line, "expected 'while' after the body of 'do'");
            next();
            s->cond = parseCondition("while");
            endStatement();
            return s;
        }
        if (w == "for")
            return parseFor();
        if (w == "switch")
            return parseSwitch();
        if (w == "return") {
            next();
            auto s = std::make_unique<Stmt>(Stmt::Kind::kReturn, t.line);
            Tok k = peek().kind;
            if (k != Tok::kSemicolon && k != Tok::kEnd && k != Tok::kRBrace)
                s->expr = parseExpression();
            endStatement();
            return s;
        }
        if (w == "break" || w == "continue") {
            next();
            endStatement();
            return std::make_unique<Stmt>(w == "break" ? Stmt::Kind::kBreak : Stmt::Kind::kContinue,
                                          t.line);
        }
        if (w == "global") {
            next();
            return parseDeclaration(true, t.line);
        }
        if (isTypeName(w))
            return parseDeclaration(false, t.line);
        if (w == "proc")
            fail(t.line, "procedures can only be defined at the top level");
        if (w == "else" || w == "case" || w == "default" || w == "in")
            fail(t.line, "unexpected '" + w + "'");
        if (isBooleanWord(w) || functionStyle(t, false)) {
            auto s = std::make_unique<Stmt>(Stmt::Kind::kExpr, t.line);
            s->expr = parseExpression();
            endStatement();
            return s;
        }
        next();
        auto s = std::make_unique<Stmt>(Stmt::Kind::kExpr, t.line);
        s->expr = parseCall(t, false);
        endStatement();
        return s;
    }

    ExprPtr parseCondition(const char* keyword) {
        expect(Tok::kLParen, std::string("after '") + keyword + "'");
        ExprPtr e = parseExpression();
        expect(Tok::kRParen, std::string("to close the condition of '") + keyword + "'");
        return e;
    }

    StmtPtr parseIf() {
        Token t = next();
        auto s = std::make_unique<Stmt>(Stmt::Kind::kIf, t.line);
        s->cond = parseCondition("if");
        s->body = parseStatement();
        if (atWord("else")) {
            next();
            s->elseBody = parseStatement();
        }
        return s;
    }

    StmtPtr parseFor() {
        Token t = next();
        expect(Tok::kLParen, "after 'for'");
        // for ($x in $array) or for (string $x in $array)
        Token first = peek();
        Token var = first;
        bool typed = false;
        if (first.kind == Tok::kIdent && isTypeName(first.text)) {
            var = after(first);
            typed = true;
        }
        if (var.kind == Tok::kVariable) {
            Token in = after(var);
            if (in.kind == Tok::kIdent && in.text == "in") {
                auto s = std::make_unique<Stmt>(Stmt::Kind::kForIn, t.line);
                if (typed) {
                    s->declaresVar = true;
                    s->type.base = baseType(next());
                }
                s->var = next().text;
                next(); // in
                s->expr = parseExpression();
                expect(Tok::kRParen, "to close 'for'");
                s->body = parseStatement();
                return s;
            }
        }
        auto s = std::make_unique<Stmt>(Stmt::Kind::kFor, t.line);
        parseExpressionList(s->inits, Tok::kSemicolon);
        expect(Tok::kSemicolon, "after the start of 'for'");
        if (peek().kind != Tok::kSemicolon)
            s->cond = parseExpression();
        expect(Tok::kSemicolon, "after the condition of 'for'");
        parseExpressionList(s->steps, Tok::kRParen);
        expect(Tok::kRParen, "to close 'for'");
        s->body = parseStatement();
        return s;
    }

    void parseExpressionList(std::vector<ExprPtr>& list, Tok end) {
        if (peek().kind == end)
            return;
        for (;;) {
            list.push_back(parseExpression());
            if (peek().kind != Tok::kComma)
                return;
            next();
        }
    }

    StmtPtr parseSwitch() {
        Token t = next();
        auto s = std::make_unique<Stmt>(Stmt::Kind::kSwitch, t.line);
        s->expr = parseCondition("switch");
        Token open = expect(Tok::kLBrace, "to start the cases of 'switch'");
        while (peek().kind != Tok::kRBrace) {
            if (peek().kind == Tok::kEnd)
                fail(open.line, "'{' not closed with '}'");
            if (atWord("case")) {
                next();
                SwitchCase c;
                c.value = parseAdditive();
                c.firstStatement = s->statements.size();
                expect(Tok::kColon, "after the case value");
                s->cases.push_back(std::move(c));
            } else if (atWord("default")) {
                next();
                expect(Tok::kColon, "after 'default'");
                SwitchCase c;
                c.firstStatement = s->statements.size();
                s->cases.push_back(std::move(c));
            } else {
                s->statements.push_back(parseStatement());
            }
        }
        next();
        return s;
    }

    StmtPtr parseDeclaration(bool global, int line) {
        Token type = expect(Tok::kIdent, "for the type of a variable");
        if (!isTypeName(type.text))
            fail(type.line, "'" + type.text + "' is not a type");
        auto s = std::make_unique<Stmt>(Stmt::Kind::kDecl, line);
        s->global = global;
        s->type.base = baseType(type);
        for (;;) {
            Token name = expect(Tok::kVariable, "for a variable name");
            VarDecl d;
            d.name = name.text;
            d.line = name.line;
            if (peek().kind == Tok::kLBracket) {
                next();
                d.array = true;
                if (peek().kind != Tok::kRBracket)
                    d.size = parseExpression();
                expect(Tok::kRBracket, "after the array size");
            }
            if (peek().kind == Tok::kAssign) {
                next();
                d.init = parseExpression();
            }
            s->decls.push_back(std::move(d));
            if (peek().kind != Tok::kComma)
                break;
            next();
        }
        endStatement();
        return s;
    }

    // ---- Calls ----

    // After the name: `name(a, b)` is a function call when what follows the parentheses ends the
    // statement (or they hold a comma); otherwise the parentheses are the first argument of a
    // command, as in `setAttr ($node + ".tx") 5`.
    bool functionStyle(const Token& name, bool inBacktick) const {
        Token t = lexer_.lex(name.end, name.endLine, LexMode::kExpression);
        if (t.kind != Tok::kLParen)
            return false;
        int depth = 0;
        bool comma = false;
        for (;;) {
            if (t.kind == Tok::kError || t.kind == Tok::kEnd)
                return false;
            if (t.kind == Tok::kLParen || t.kind == Tok::kLBracket || t.kind == Tok::kLBrace)
                ++depth;
            else if (t.kind == Tok::kRParen || t.kind == Tok::kRBracket || t.kind == Tok::kRBrace)
                --depth;
            else if (t.kind == Tok::kComma && depth == 1)
                comma = true;
            if (depth == 0)
                break;
            t = lexer_.lex(t.end, t.endLine, LexMode::kExpression);
        }
        if (comma)
            return true;
        Token u = lexer_.lex(t.end, t.endLine, LexMode::kExpression);
        switch (u.kind) {
        case Tok::kSemicolon:
        case Tok::kEnd:
            return true;
        case Tok::kBacktick:
            return inBacktick;
        case Tok::kPlus:
        case Tok::kStar:
        case Tok::kSlash:
        case Tok::kPercent:
        case Tok::kEq:
        case Tok::kNe:
        case Tok::kLt:
        case Tok::kGt:
        case Tok::kLe:
        case Tok::kGe:
        case Tok::kAnd:
        case Tok::kOr:
        case Tok::kQuestion:
            return true; // `size($a) + 1;`: the call is an operand
        case Tok::kMinus: {
            // `f(1) - 2` subtracts; `f(1) -2` and `f(1) -flag` pass arguments.
            char c = lexer_.at(u.end);
            return c == ' ' || c == '\t' || c == '\n' || c == '\r';
        }
        default:
            return false;
        }
    }

    // The name has been read.
    ExprPtr parseCall(const Token& name, bool inBacktick) {
        if (functionStyle(name, inBacktick))
            return parseFunctionCall(name);
        auto call = std::make_unique<Expr>(Expr::Kind::kCall, name.line);
        call->name = name.text;
        call->commandStyle = true;
        for (;;) {
            Token t = peek(LexMode::kCommand);
            CallArg arg;
            switch (t.kind) {
            case Tok::kSemicolon:
            case Tok::kEnd:
                return call;
            case Tok::kBacktick:
                if (inBacktick)
                    return call;
                next(LexMode::kCommand);
                arg.expr = parseBacktick(t);
                break;
            case Tok::kFlag:
                next(LexMode::kCommand);
                arg.isFlag = true;
                arg.flag = t.text;
                break;
            case Tok::kString:
            case Tok::kWord:
                next(LexMode::kCommand);
                arg.expr = literal(MelValue(t.text), t.line);
                break;
            case Tok::kInt:
                next(LexMode::kCommand);
                arg.expr = literal(MelValue(t.intValue), t.line);
                break;
            case Tok::kFloat:
                next(LexMode::kCommand);
                arg.expr = literal(MelValue(t.floatValue), t.line);
                break;
            case Tok::kVariable: {
                next(LexMode::kCommand);
                arg.expr = variable(t);
                if (lexer_.at(t.end) == '[') {
                    next();
                    arg.expr = index(std::move(arg.expr));
                }
                break;
            }
            case Tok::kLParen:
                next(LexMode::kCommand);
                arg.expr = parseExpression();
                expect(Tok::kRParen, "to close a parenthesised argument of " + name.text);
                break;
            case Tok::kLBrace:
                next(LexMode::kCommand);
                arg.expr = parseArrayLiteral(t);
                break;
            case Tok::kVectorOpen:
                fail(t.line, "vectors are not supported by this host");
            default:
                fail(t.line, std::string("unexpected ") + describe(t.kind) +
                                 " in the arguments of " + name.text);
            }
            call->args.push_back(std::move(arg));
        }
    }

    ExprPtr parseFunctionCall(const Token& name) {
        auto call = std::make_unique<Expr>(Expr::Kind::kCall, name.line);
        call->name = name.text;
        expect(Tok::kLParen, "after " + name.text);
        if (peek().kind != Tok::kRParen) {
            for (;;) {
                CallArg arg;
                arg.expr = parseExpression();
                call->args.push_back(std::move(arg));
                if (peek().kind != Tok::kComma)
                    break;
                next();
            }
        }
        expect(Tok::kRParen, "to close the arguments of " + name.text);
        return call;
    }

    // The opening backtick has been read.
    ExprPtr parseBacktick(const Token& open) {
        Token name = peek();
        if (name.kind != Tok::kIdent)
            fail(name.line, "expected a command name after '`'");
        next();
        ExprPtr call = parseCall(name, true);
        Token close = peek(LexMode::kCommand);
        if (close.kind != Tok::kBacktick)
            fail(open.line, "'`' not closed with '`'");
        next(LexMode::kCommand);
        return call;
    }

    // ---- Expressions ----

    ExprPtr literal(MelValue value, int line) {
        auto e = std::make_unique<Expr>(Expr::Kind::kLiteral, line);
        e->value = std::move(value);
        return e;
    }
    ExprPtr variable(const Token& t) {
        auto e = std::make_unique<Expr>(Expr::Kind::kVariable, t.line);
        e->name = t.text;
        return e;
    }
    // '[' has been read.
    ExprPtr index(ExprPtr target) {
        auto e = std::make_unique<Expr>(Expr::Kind::kIndex, target->line);
        e->b = parseExpression();
        expect(Tok::kRBracket, "to close the index of $" + target->name);
        e->a = std::move(target);
        return e;
    }
    ExprPtr binary(Expr::Kind kind, Tok op, ExprPtr a, ExprPtr b, int line) {
        auto e = std::make_unique<Expr>(kind, line);
        e->op = op;
        e->a = std::move(a);
        e->b = std::move(b);
        return e;
    }

    ExprPtr parseExpression() {
        Nesting nesting(*this);
        ExprPtr lhs = parseTernary();
        Token t = peek();
        if (!isAssignment(t.kind))
            return lhs;
        if (!isLvalue(*lhs))
            fail(t.line, "only a variable or an array element can be assigned to");
        next();
        return binary(Expr::Kind::kAssign, t.kind, std::move(lhs), parseExpression(), t.line);
    }

    ExprPtr parseTernary() {
        ExprPtr cond = parseOr();
        if (peek().kind != Tok::kQuestion)
            return cond;
        Token q = next();
        auto e = std::make_unique<Expr>(Expr::Kind::kTernary, q.line);
        e->a = std::move(cond);
        e->b = parseExpression();
        expect(Tok::kColon, "in '?:'");
        e->c = parseTernary();
        return e;
    }

    ExprPtr parseOr() {
        ExprPtr e = parseAnd();
        while (peek().kind == Tok::kOr) {
            Token t = next();
            e = binary(Expr::Kind::kLogical, t.kind, std::move(e), parseAnd(), t.line);
        }
        return e;
    }
    ExprPtr parseAnd() {
        ExprPtr e = parseEquality();
        while (peek().kind == Tok::kAnd) {
            Token t = next();
            e = binary(Expr::Kind::kLogical, t.kind, std::move(e), parseEquality(), t.line);
        }
        return e;
    }
    ExprPtr parseEquality() {
        ExprPtr e = parseRelational();
        while (peek().kind == Tok::kEq || peek().kind == Tok::kNe) {
            Token t = next();
            e = binary(Expr::Kind::kBinary, t.kind, std::move(e), parseRelational(), t.line);
        }
        return e;
    }
    ExprPtr parseRelational() {
        ExprPtr e = parseAdditive();
        for (;;) {
            Tok k = peek().kind;
            if (k != Tok::kLt && k != Tok::kGt && k != Tok::kLe && k != Tok::kGe)
                return e;
            Token t = next();
            e = binary(Expr::Kind::kBinary, t.kind, std::move(e), parseAdditive(), t.line);
        }
    }
    ExprPtr parseAdditive() {
        ExprPtr e = parseMultiplicative();
        while (peek().kind == Tok::kPlus || peek().kind == Tok::kMinus) {
            Token t = next();
            e = binary(Expr::Kind::kBinary, t.kind, std::move(e), parseMultiplicative(), t.line);
        }
        return e;
    }
    ExprPtr parseMultiplicative() {
        ExprPtr e = parseUnary();
        for (;;) {
            Tok k = peek().kind;
            if (k != Tok::kStar && k != Tok::kSlash && k != Tok::kPercent)
                return e;
            Token t = next();
            e = binary(Expr::Kind::kBinary, t.kind, std::move(e), parseUnary(), t.line);
        }
    }

    ExprPtr parseUnary() {
        Nesting nesting(*this);
        Token t = peek();
        if (t.kind == Tok::kMinus || t.kind == Tok::kPlus || t.kind == Tok::kNot) {
            next();
            auto e = std::make_unique<Expr>(Expr::Kind::kUnary, t.line);
            e->op = t.kind;
            e->a = parseUnary();
            return e;
        }
        if (t.kind == Tok::kIncrement || t.kind == Tok::kDecrement) {
            next();
            auto e = std::make_unique<Expr>(Expr::Kind::kIncDec, t.line);
            e->op = t.kind;
            e->prefix = true;
            e->a = parseUnary();
            if (!isLvalue(*e->a))
                fail(t.line, std::string(describe(t.kind)) + " needs a variable");
            return e;
        }
        if (t.kind == Tok::kLParen) {
            Token type = after(t);
            if (type.kind == Tok::kIdent && isTypeName(type.text) &&
                after(type).kind == Tok::kRParen) {
                next();
                next();
                next();
                auto e = std::make_unique<Expr>(Expr::Kind::kCast, t.line);
                e->castType = baseType(type);
                e->a = parseUnary();
                return e;
            }
        }
        return parsePostfix();
    }

    ExprPtr parsePostfix() {
        ExprPtr e = parsePrimary();
        for (;;) {
            Token t = peek();
            if (t.kind == Tok::kLBracket && e->kind == Expr::Kind::kVariable) {
                next();
                e = index(std::move(e));
            } else if ((t.kind == Tok::kIncrement || t.kind == Tok::kDecrement) && isLvalue(*e)) {
                next();
                auto inc = std::make_unique<Expr>(Expr::Kind::kIncDec, t.line);
                inc->op = t.kind;
                inc->a = std::move(e);
                e = std::move(inc);
            } else {
                return e;
            }
        }
    }

    ExprPtr parseArrayLiteral(const Token& open) {
        auto e = std::make_unique<Expr>(Expr::Kind::kArray, open.line);
        if (peek().kind != Tok::kRBrace) {
            for (;;) {
                e->items.push_back(parseExpression());
                if (peek().kind != Tok::kComma)
                    break;
                next();
            }
        }
        expect(Tok::kRBrace, "to close the array");
        return e;
    }

    ExprPtr parsePrimary() {
        Token t = peek();
        switch (t.kind) {
        case Tok::kInt:
            next();
            return literal(MelValue(t.intValue), t.line);
        case Tok::kFloat:
            next();
            return literal(MelValue(t.floatValue), t.line);
        case Tok::kString:
            next();
            return literal(MelValue(t.text), t.line);
        case Tok::kVariable:
            next();
            return variable(t);
        case Tok::kLParen: {
            next();
            ExprPtr e = parseExpression();
            expect(Tok::kRParen, "to close '('");
            return e;
        }
        case Tok::kLBrace:
            next();
            return parseArrayLiteral(t);
        case Tok::kBacktick:
            next();
            return parseBacktick(t);
        case Tok::kVectorOpen:
            fail(t.line, "vectors are not supported by this host");
        case Tok::kIdent:
            next();
            if (isBooleanWord(t.text))
                return literal(
                    MelValue(t.text == "true" || t.text == "on" || t.text == "yes" ? 1 : 0),
                    t.line);
            if (peek().kind == Tok::kLParen)
                return parseFunctionCall(t);
            fail(t.line,
                 "'" + t.text + "' in an expression: call it with parentheses or backticks");
        default:
            fail(t.line, "expected an expression, found " + shown(t));
        }
    }

    Lexer lexer_;
    std::string sourceName_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int nesting_ = 0;
    Token cache_;
    std::size_t cachePos_ = 0;
    LexMode cacheMode_ = LexMode::kExpression;
    bool cacheValid_ = false;
};

} // namespace

std::unique_ptr<Script> parse(const std::string& text, const std::string& sourceName,
                              ParseError& error) {
    try {
        Parser parser(text, sourceName);
        return parser.run();
    } catch (const SyntaxError& e) {
        error.line = e.line;
        error.message = e.message;
    } catch (const std::exception& e) {
        error.line = 0;
        error.message = e.what();
    }
    return nullptr;
}

} // namespace mel
} // namespace host
