#pragma once
// MEL tokens. MEL reads command arguments differently from expressions (`select -r pSphere1.vtx[2]`
// holds a flag and a bare word), so the lexer works on demand at a position, in the mode the
// parser asks for, instead of tokenising a file up front.

#include <cstddef>
#include <string>

namespace host {
namespace mel {

enum class Tok {
    kEnd,
    kError, // text holds the reason
    kIdent,
    kVariable, // text: the name without '$'
    kInt,
    kFloat,
    kString, // text: the value, escapes resolved
    kFlag,   // command mode: text is the flag name without '-'
    kWord,   // command mode: a bare word
    kBacktick,
    kSemicolon,
    kComma,
    kLParen,
    kRParen,
    kLBracket,
    kRBracket,
    kLBrace,
    kRBrace,
    kQuestion,
    kColon,
    kAssign,
    kPlusAssign,
    kMinusAssign,
    kStarAssign,
    kSlashAssign,
    kPlus,
    kMinus,
    kStar,
    kSlash,
    kPercent,
    kCaret,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
    kAnd,
    kOr,
    kNot,
    kIncrement,
    kDecrement,
    kVectorOpen,  // <<
    kVectorClose, // >>
    kDot
};

enum class LexMode { kExpression, kCommand };

struct Token {
    Tok kind = Tok::kEnd;
    std::string text;
    int intValue = 0;
    double floatValue = 0.0;
    int line = 1; // line of the token's first character
    std::size_t begin = 0;
    std::size_t end = 0; // position after the token
    int endLine = 1;     // line at end
};

// A readable name for a token kind, for syntax errors ("';'", "identifier").
const char* describe(Tok kind);

class Lexer {
  public:
    explicit Lexer(const std::string& text) : text_(text) {}

    // The token at pos (after blanks and comments); line is the line at pos.
    Token lex(std::size_t pos, int line, LexMode mode) const;
    // The character at pos, or '\0' past the end.
    char at(std::size_t pos) const { return pos < text_.size() ? text_[pos] : '\0'; }

  private:
    // Skips blanks and comments; false with reason set for an unterminated comment.
    bool skipBlanks(std::size_t& pos, int& line, std::string& reason) const;
    Token lexString(std::size_t pos, int line) const;
    Token lexNumber(std::size_t pos, int line) const;
    Token lexWord(std::size_t pos, int line) const;

    const std::string& text_;
};

// Classifies a bare command word: a number literal (with an optional sign) becomes kInt or
// kFloat, a boolean word the kInt 1 or 0; anything else stays kWord.
void classifyWord(Token& token);

} // namespace mel
} // namespace host
