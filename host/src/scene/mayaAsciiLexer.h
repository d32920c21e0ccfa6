#pragma once
// Splits the text of a Maya ASCII file into commands: a name and its arguments up to ';'.
//
// Arguments are bare words (flags, numbers, names, data words) or string literals; a string
// literal keeps its text unescaped and is marked quoted, so "-5" in quotes is never a flag.
// `( "a" + "b" )` joins string literals, as Maya writes long strings. Comments (// and /* */)
// are skipped. Lines count from 1; a line ends with "\n", "\r\n" or a lone "\r", in any mix.
//
// MEL statements that are blocks (`global proc`, `proc`, `if`, `for`, `while`, `do`, `switch`)
// are not scene commands, but a file may hold them: their words, parentheses and braces are
// read as they are, ';' inside braces or parentheses belongs to the statement, and the
// statement ends at the brace that closes its last block (or at ';' after a `do` block's
// condition).
//
// Broken text gives an error instead of a command: an unterminated string, bytes that are not
// text, a command that starts with something other than a name, a file that ends before ';'.
// After an error the lexer skips ahead to the next line that starts with a command name it is
// told about, so one bad command costs one message.

#include <functional>
#include <string>
#include <vector>

namespace host {

// The first word of a MEL block statement (see above).
bool isMelBlockStatement(const std::string& name);

struct SceneToken {
    std::string text;
    bool quoted = false;
    int line = 0;
    // An unquoted word "-x..." (a letter after the dash): numbers such as -2 are not flags.
    bool isFlag() const;
};

struct SceneCommand {
    std::string name;
    std::vector<SceneToken> args;
    int line = 0;
    // Where the command's text lies in the file: [start, end), its ';' included.
    size_t start = 0, end = 0;
};

class MayaAsciiLexer {
  public:
    // kPart: a command with more arguments than the limit; its name, line and start are set,
    // args holds the next `limit` arguments, and the next call continues the same command
    // (args then holds the arguments that follow, and kPart or kCommand says whether more do).
    enum class Result { kCommand, kError, kEnd, kPart };

    // The text must outlive the lexer. isCommandName tells where to resume after an error.
    MayaAsciiLexer(const std::string& text, std::function<bool(const std::string&)> isCommandName);

    // The next command, or an error (line and what was expected), or the end.
    Result next(SceneCommand& command, int& errorLine, std::string& error);
    // Commands longer than this (a mesh of a million vertices in one setAttr) come in parts of
    // this many arguments; 0, the default, for no limit.
    void setArgumentLimit(size_t limit) { argumentLimit_ = limit; }

  private:
    bool skipSpaceAndComments(std::string& error, int& errorLine);
    Result readArguments(SceneCommand& command, int& errorLine, std::string& error);
    bool readString(std::string& out, std::string& error);
    bool readJoinedStrings(std::string& out, std::string& error);
    void resync();
    // After a block statement's closing brace: true when `else` carries the statement on.
    bool continuesBlock() const;
    bool atEnd() const { return pos_ >= text_.size(); }
    bool endsLine(size_t at) const;

    const std::string& text_;
    std::function<bool(const std::string&)> isCommandName_;
    size_t pos_ = 0;
    int line_ = 1;
    size_t argumentLimit_ = 0;
    bool continuing_ = false; // the last command came in part
    bool block_ = false;      // the command is a MEL block statement
    int braces_ = 0;          // its braces still open
    int parens_ = 0;          // and parentheses
};

} // namespace host
