#include "mel/lexer.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace host {
namespace mel {

namespace {

bool isIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Characters that end a bare word in command arguments.
bool endsWord(char c) {
    return c == '\0' || std::isspace(static_cast<unsigned char>(c)) || std::strchr(";`\"(){}", c);
}

Token make(Tok kind, std::size_t begin, std::size_t end, int line) {
    Token t;
    t.kind = kind;
    t.begin = begin;
    t.end = end;
    t.line = line;
    t.endLine = line;
    return t;
}

Token error(std::size_t begin, int line, std::string reason) {
    Token t = make(Tok::kError, begin, begin + 1, line);
    t.text = std::move(reason);
    return t;
}

// Number literal grammar shared by both modes: digits [. digits] [e [sign] digits] or . digits.
// Returns the length matched at s (0 if none) and whether it had a fraction or exponent.
std::size_t matchNumber(const char* s, bool& isFloat) {
    std::size_t i = 0;
    isFloat = false;
    bool digits = false;
    while (isDigit(s[i])) {
        ++i;
        digits = true;
    }
    if (s[i] == '.') {
        std::size_t j = i + 1;
        bool fraction = false;
        while (isDigit(s[j])) {
            ++j;
            fraction = true;
        }
        if (digits || fraction) {
            i = j;
            digits = true;
            isFloat = true;
        }
    }
    if (!digits)
        return 0;
    if (s[i] == 'e' || s[i] == 'E') {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-')
            ++j;
        if (isDigit(s[j])) {
            while (isDigit(s[j]))
                ++j;
            i = j;
            isFloat = true;
        }
    }
    return i;
}

void setNumber(Token& t, const std::string& literal, bool isFloat) {
    if (!isFloat) {
        errno = 0;
        long long v = std::strtoll(literal.c_str(), nullptr, 10);
        if (errno == 0 && v >= -2147483648LL && v <= 2147483647LL) {
            t.kind = Tok::kInt;
            t.intValue = static_cast<int>(v);
            return;
        }
    }
    t.kind = Tok::kFloat;
    t.floatValue = std::strtod(literal.c_str(), nullptr);
}

} // namespace

const char* describe(Tok kind) {
    switch (kind) {
    case Tok::kEnd:
        return "end of input";
    case Tok::kError:
        return "invalid text";
    case Tok::kIdent:
        return "a name";
    case Tok::kVariable:
        return "a variable";
    case Tok::kInt:
    case Tok::kFloat:
        return "a number";
    case Tok::kString:
        return "a string";
    case Tok::kFlag:
        return "a flag";
    case Tok::kWord:
        return "a word";
    case Tok::kBacktick:
        return "'`'";
    case Tok::kSemicolon:
        return "';'";
    case Tok::kComma:
        return "','";
    case Tok::kLParen:
        return "'('";
    case Tok::kRParen:
        return "')'";
    case Tok::kLBracket:
        return "'['";
    case Tok::kRBracket:
        return "']'";
    case Tok::kLBrace:
        return "'{'";
    case Tok::kRBrace:
        return "'}'";
    case Tok::kQuestion:
        return "'?'";
    case Tok::kColon:
        return "':'";
    case Tok::kAssign:
        return "'='";
    case Tok::kPlusAssign:
        return "'+='";
    case Tok::kMinusAssign:
        return "'-='";
    case Tok::kStarAssign:
        return "'*='";
    case Tok::kSlashAssign:
        return "'/='";
    case Tok::kPlus:
        return "'+'";
    case Tok::kMinus:
        return "'-'";
    case Tok::kStar:
        return "'*'";
    case Tok::kSlash:
        return "'/'";
    case Tok::kPercent:
        return "'%'";
    case Tok::kCaret:
        return "'^'";
    case Tok::kEq:
        return "'=='";
    case Tok::kNe:
        return "'!='";
    case Tok::kLt:
        return "'<'";
    case Tok::kGt:
        return "'>'";
    case Tok::kLe:
        return "'<='";
    case Tok::kGe:
        return "'>='";
    case Tok::kAnd:
        return "'&&'";
    case Tok::kOr:
        return "'||'";
    case Tok::kNot:
        return "'!'";
    case Tok::kIncrement:
        return "'++'";
    case Tok::kDecrement:
        return "'--'";
    case Tok::kVectorOpen:
        return "'<<'";
    case Tok::kVectorClose:
        return "'>>'";
    case Tok::kDot:
        return "'.'";
    }
    return "token";
}

void classifyWord(Token& token) {
    const std::string& w = token.text;
    if (w == "true" || w == "on" || w == "yes") {
        token.kind = Tok::kInt;
        token.intValue = 1;
        return;
    }
    if (w == "false" || w == "off" || w == "no") {
        token.kind = Tok::kInt;
        token.intValue = 0;
        return;
    }
    std::size_t start = (w[0] == '-' || w[0] == '+') ? 1 : 0;
    bool isFloat = false;
    std::size_t n = matchNumber(w.c_str() + start, isFloat);
    if (n > 0 && start + n == w.size())
        setNumber(token, w, isFloat);
}

bool Lexer::skipBlanks(std::size_t& pos, int& line, std::string& reason) const {
    for (;;) {
        char c = at(pos);
        if (c == '\n') {
            ++line;
            ++pos;
        } else if (c != '\0' && std::isspace(static_cast<unsigned char>(c))) {
            ++pos;
        } else if (c == '/' && at(pos + 1) == '/') {
            while (at(pos) != '\0' && at(pos) != '\n')
                ++pos;
        } else if (c == '/' && at(pos + 1) == '*') {
            pos += 2;
            while (!(at(pos) == '*' && at(pos + 1) == '/')) {
                if (at(pos) == '\0') {
                    reason = "comment not closed with */";
                    return false;
                }
                if (at(pos) == '\n')
                    ++line;
                ++pos;
            }
            pos += 2;
        } else {
            return true;
        }
    }
}

Token Lexer::lexString(std::size_t pos, int line) const {
    std::size_t begin = pos++;
    std::string value;
    for (;;) {
        char c = at(pos);
        if (c == '\0' || c == '\n')
            return error(begin, line, "string not closed with \"");
        ++pos;
        if (c == '"')
            break;
        if (c == '\\') {
            char e = at(pos);
            if (e == '\0')
                return error(begin, line, "string not closed with \"");
            ++pos;
            switch (e) {
            case 'n':
                value += '\n';
                break;
            case 't':
                value += '\t';
                break;
            case 'r':
                value += '\r';
                break;
            default: // \\, \" and any other character stand for themselves
                value += e;
                break;
            }
        } else {
            value += c;
        }
    }
    Token t = make(Tok::kString, begin, pos, line);
    t.text = std::move(value);
    return t;
}

Token Lexer::lexNumber(std::size_t pos, int line) const {
    if (at(pos) == '0' && (at(pos + 1) == 'x' || at(pos + 1) == 'X') &&
        std::isxdigit(static_cast<unsigned char>(at(pos + 2)))) {
        std::size_t end = pos + 2;
        while (std::isxdigit(static_cast<unsigned char>(at(end))))
            ++end;
        Token t = make(Tok::kInt, pos, end, line);
        t.intValue = static_cast<int>(std::strtoul(text_.c_str() + pos, nullptr, 16));
        return t;
    }
    bool isFloat = false;
    std::size_t n = matchNumber(text_.c_str() + pos, isFloat);
    Token t = make(Tok::kInt, pos, pos + n, line);
    setNumber(t, text_.substr(pos, n), isFloat);
    return t;
}

Token Lexer::lexWord(std::size_t pos, int line) const {
    std::size_t end = pos;
    while (!endsWord(at(end)))
        ++end;
    Token t = make(Tok::kWord, pos, end, line);
    t.text = text_.substr(pos, end - pos);
    classifyWord(t);
    return t;
}

Token Lexer::lex(std::size_t pos, int line, LexMode mode) const {
    std::string reason;
    if (!skipBlanks(pos, line, reason))
        return error(pos, line, reason);
    char c = at(pos);
    if (c == '\0')
        return make(Tok::kEnd, pos, pos, line);
    if (c == '"')
        return lexString(pos, line);
    if (c == '$') {
        if (!isIdentStart(at(pos + 1)))
            return error(pos, line, "'$' must be followed by a variable name");
        std::size_t end = pos + 1;
        while (isIdentChar(at(end)))
            ++end;
        Token t = make(Tok::kVariable, pos, end, line);
        t.text = text_.substr(pos + 1, end - pos - 1);
        return t;
    }

    auto single = [&](Tok kind) { return make(kind, pos, pos + 1, line); };
    auto pair = [&](Tok kind) { return make(kind, pos, pos + 2, line); };
    char d = at(pos + 1);

    if (mode == LexMode::kCommand) {
        switch (c) {
        case ';':
            return single(Tok::kSemicolon);
        case '`':
            return single(Tok::kBacktick);
        case '(':
            return single(Tok::kLParen);
        case ')':
            return single(Tok::kRParen);
        case '{':
            return single(Tok::kLBrace);
        case '}':
            return single(Tok::kRBrace);
        default:
            break;
        }
        if (c == '<' && d == '<')
            return pair(Tok::kVectorOpen);
        if (c == '-' && std::isalpha(static_cast<unsigned char>(d))) {
            std::size_t end = pos + 1;
            while (isIdentChar(at(end)))
                ++end;
            if (endsWord(at(end))) {
                Token t = make(Tok::kFlag, pos, end, line);
                t.text = text_.substr(pos + 1, end - pos - 1);
                return t;
            }
        }
        return lexWord(pos, line);
    }

    if (isDigit(c) || (c == '.' && isDigit(d)))
        return lexNumber(pos, line);
    if (isIdentStart(c)) {
        std::size_t end = pos;
        while (isIdentChar(at(end)))
            ++end;
        Token t = make(Tok::kIdent, pos, end, line);
        t.text = text_.substr(pos, end - pos);
        return t;
    }
    switch (c) {
    case '`':
        return single(Tok::kBacktick);
    case ';':
        return single(Tok::kSemicolon);
    case ',':
        return single(Tok::kComma);
    case '(':
        return single(Tok::kLParen);
    case ')':
        return single(Tok::kRParen);
    case '[':
        return single(Tok::kLBracket);
    case ']':
        return single(Tok::kRBracket);
    case '{':
        return single(Tok::kLBrace);
    case '}':
        return single(Tok::kRBrace);
    case '?':
        return single(Tok::kQuestion);
    case ':':
        return single(Tok::kColon);
    case '^':
        return single(Tok::kCaret);
    case '.':
        return single(Tok::kDot);
    case '%':
        return single(Tok::kPercent);
    case '=':
        return d == '=' ? pair(Tok::kEq) : single(Tok::kAssign);
    case '!':
        return d == '=' ? pair(Tok::kNe) : single(Tok::kNot);
    case '<':
        if (d == '<')
            return pair(Tok::kVectorOpen);
        return d == '=' ? pair(Tok::kLe) : single(Tok::kLt);
    case '>':
        if (d == '>')
            return pair(Tok::kVectorClose);
        return d == '=' ? pair(Tok::kGe) : single(Tok::kGt);
    case '&':
        if (d == '&')
            return pair(Tok::kAnd);
        break;
    case '|':
        if (d == '|')
            return pair(Tok::kOr);
        break;
    case '+':
        if (d == '+')
            return pair(Tok::kIncrement);
        return d == '=' ? pair(Tok::kPlusAssign) : single(Tok::kPlus);
    case '-':
        if (d == '-')
            return pair(Tok::kDecrement);
        return d == '=' ? pair(Tok::kMinusAssign) : single(Tok::kMinus);
    case '*':
        return d == '=' ? pair(Tok::kStarAssign) : single(Tok::kStar);
    case '/':
        return d == '=' ? pair(Tok::kSlashAssign) : single(Tok::kSlash);
    default:
        break;
    }
    std::string shown(1, c);
    return error(pos, line, "unexpected character '" + shown + "'");
}

} // namespace mel
} // namespace host
