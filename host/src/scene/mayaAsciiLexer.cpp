#include "scene/mayaAsciiLexer.h"

#include <cctype>
#include <cstdio>

namespace host {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Control characters other than white space: what binary data looks like.
bool isBinary(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u < 0x20 && !isSpace(c)) || u == 0x7f;
}

bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

std::string describeByte(char c) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned char>(c));
    return text;
}

} // namespace

bool MayaAsciiLexer::endsLine(size_t at) const {
    // "\n", "\r\n" (its "\n" ends the line) and a lone "\r" (old Mac files) all end a line.
    return text_[at] == '\n' ||
           (text_[at] == '\r' && (at + 1 == text_.size() || text_[at + 1] != '\n'));
}

bool isMelBlockStatement(const std::string& name) {
    return name == "global" || name == "proc" || name == "if" || name == "for" || name == "while" ||
           name == "do" || name == "switch";
}

bool SceneToken::isFlag() const {
    return !quoted && text.size() >= 2 && text[0] == '-' &&
           std::isalpha(static_cast<unsigned char>(text[1]));
}

MayaAsciiLexer::MayaAsciiLexer(const std::string& text,
                               std::function<bool(const std::string&)> isCommandName)
    : text_(text), isCommandName_(std::move(isCommandName)) {}

bool MayaAsciiLexer::skipSpaceAndComments(std::string& error, int& errorLine) {
    while (!atEnd()) {
        char c = text_[pos_];
        if (endsLine(pos_)) {
            ++line_;
            ++pos_;
        } else if (isSpace(c)) {
            ++pos_;
        } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
            while (!atEnd() && !endsLine(pos_))
                ++pos_;
        } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
            int start = line_;
            pos_ += 2;
            while (!atEnd() &&
                   !(text_[pos_] == '*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
                if (endsLine(pos_))
                    ++line_;
                ++pos_;
            }
            if (atEnd()) {
                errorLine = start;
                error = "a comment that starts here is never closed (expected '*/')";
                return false;
            }
            pos_ += 2;
        } else {
            break;
        }
    }
    return true;
}

bool MayaAsciiLexer::readString(std::string& out, std::string& error) {
    // pos_ is on the opening quote.
    ++pos_;
    out.clear();
    while (!atEnd()) {
        char c = text_[pos_];
        if (c == '"') {
            ++pos_;
            return true;
        }
        if (c == '\n' || c == '\r') {
            error = "unterminated string: expected '\"' before the end of the line";
            return false;
        }
        if (isBinary(c)) {
            error = "unexpected byte " + describeByte(c) + " inside a string (not text)";
            return false;
        }
        if (c == '\\' && pos_ + 1 < text_.size()) {
            char e = text_[pos_ + 1];
            if (e == '\n' || e == '\r') {
                error = "unterminated string: expected '\"' before the end of the line";
                return false;
            }
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += e;
            }
            pos_ += 2;
            continue;
        }
        out += c;
        ++pos_;
    }
    error = "unterminated string: the file ends before the closing '\"'";
    return false;
}

bool MayaAsciiLexer::readJoinedStrings(std::string& out, std::string& error) {
    // pos_ is on '('; what follows is "a" + "b" + ... ).
    ++pos_;
    out.clear();
    bool expectString = true;
    int errorLine = line_;
    while (true) {
        if (!skipSpaceAndComments(error, errorLine))
            return false;
        if (atEnd()) {
            error = "the file ends inside '(...)' (expected ')')";
            return false;
        }
        char c = text_[pos_];
        if (expectString) {
            if (c != '"') {
                error = "expected a string inside '(...)', got '" + std::string(1, c) + "'";
                return false;
            }
            std::string piece;
            if (!readString(piece, error))
                return false;
            out += piece;
            expectString = false;
        } else if (c == '+') {
            ++pos_;
            expectString = true;
        } else if (c == ')') {
            ++pos_;
            return true;
        } else {
            error = "expected '+' or ')' after a string inside '(...)', got '" + std::string(1, c) +
                    "'";
            return false;
        }
    }
}

bool MayaAsciiLexer::continuesBlock() const {
    size_t p = pos_;
    while (p < text_.size() && isSpace(text_[p]))
        ++p;
    return text_.compare(p, 4, "else") == 0 &&
           (p + 4 == text_.size() || !std::isalnum(static_cast<unsigned char>(text_[p + 4])));
}

void MayaAsciiLexer::resync() {
    // Skip to the start of the next line, then on to a line whose first word is a command.
    while (!atEnd()) {
        while (!atEnd() && !endsLine(pos_))
            ++pos_;
        if (atEnd())
            return;
        ++pos_;
        ++line_;
        size_t p = pos_;
        while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t'))
            ++p;
        size_t start = p;
        while (p < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[p])) || text_[p] == '_'))
            ++p;
        if (p > start && p < text_.size() && (isSpace(text_[p]) || text_[p] == ';') &&
            isCommandName_(text_.substr(start, p - start)))
            return;
    }
}

MayaAsciiLexer::Result MayaAsciiLexer::next(SceneCommand& command, int& errorLine,
                                            std::string& error) {
    command.args.clear();
    if (continuing_) {
        continuing_ = false;
        return readArguments(command, errorLine, error);
    }
    command.name.clear();
    while (true) {
        if (!skipSpaceAndComments(error, errorLine)) {
            pos_ = text_.size();
            return Result::kError;
        }
        if (atEnd())
            return Result::kEnd;
        if (text_[pos_] != ';')
            break;
        ++pos_; // an empty statement
    }
    command.line = line_;
    errorLine = line_;
    char first = text_[pos_];
    if (!isNameStart(first)) {
        if (isBinary(first))
            error = "unexpected byte " + describeByte(first) + " (not text): expected a command";
        else
            error = "expected a command name, got '" +
                    text_.substr(
                        pos_, std::min<size_t>(20, text_.find_first_of(" \t\r\n", pos_) - pos_)) +
                    "'";
        resync();
        return Result::kError;
    }
    size_t start = pos_;
    command.start = start;
    while (!atEnd() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
        ++pos_;
    command.name = text_.substr(start, pos_ - start);
    block_ = isMelBlockStatement(command.name);
    braces_ = parens_ = 0;
    return readArguments(command, errorLine, error);
}

MayaAsciiLexer::Result MayaAsciiLexer::readArguments(SceneCommand& command, int& errorLine,
                                                     std::string& error) {
    const bool block = block_;
    int& braces = braces_;
    int& parens = parens_;
    while (true) {
        if (!skipSpaceAndComments(error, errorLine)) {
            pos_ = text_.size();
            return Result::kError;
        }
        if (atEnd()) {
            errorLine = command.line;
            error = "the file ends inside the '" + command.name +
                    "' command that starts here (expected ';')";
            return Result::kError;
        }
        char c = text_[pos_];
        if (c == ';' && braces == 0 && parens == 0) {
            ++pos_;
            command.end = pos_;
            return Result::kCommand;
        }
        SceneToken token;
        token.line = line_;
        if (c == '"' || (c == '(' && !block)) {
            errorLine = line_;
            bool ok =
                c == '"' ? readString(token.text, error) : readJoinedStrings(token.text, error);
            if (!ok) {
                errorLine = token.line;
                resync();
                return Result::kError;
            }
            token.quoted = true;
        } else {
            size_t wordStart = pos_;
            bool closed = false;
            while (!atEnd() && !isSpace(text_[pos_]) &&
                   (text_[pos_] != ';' || braces > 0 || parens > 0) && text_[pos_] != '"') {
                if (isBinary(text_[pos_])) {
                    errorLine = line_;
                    error = "unexpected byte " + describeByte(text_[pos_]) +
                            " (not text) in the '" + command.name + "' command";
                    resync();
                    return Result::kError;
                }
                if (block && text_[pos_] == '{') {
                    ++braces;
                } else if (block && text_[pos_] == '}' && braces > 0) {
                    closed = --braces == 0 && parens == 0;
                } else if (block && text_[pos_] == '(') {
                    ++parens;
                } else if (block && text_[pos_] == ')' && parens > 0) {
                    --parens;
                }
                ++pos_;
                if (closed)
                    break;
            }
            token.text = text_.substr(wordStart, pos_ - wordStart);
            if (closed && command.name != "do" && !continuesBlock()) {
                command.args.push_back(std::move(token));
                command.end = pos_;
                return Result::kCommand;
            }
        }
        command.args.push_back(std::move(token));
        if (argumentLimit_ > 0 && command.args.size() >= argumentLimit_) {
            continuing_ = true;
            return Result::kPart;
        }
    }
}

} // namespace host
