#pragma once
// A small, strict JSON reader for the tests that check written JSON: the whole grammar of
// RFC 8259 (objects, arrays, strings with every escape, numbers, true, false, null), nothing
// more. Numbers keep their text so that a test can read them back as float or double exactly.

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testjson {

struct Value {
    enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
    Type type = Type::kNull;
    bool boolean = false;
    std::string text; // the number as written, or the string's value
    std::vector<Value> array;
    std::map<std::string, Value> object;

    bool isNull() const { return type == Type::kNull; }
    bool has(const std::string& key) const { return object.count(key) > 0; }
    const Value& operator[](const std::string& key) const {
        static const Value missing;
        auto found = object.find(key);
        return found == object.end() ? missing : found->second;
    }
    const Value& operator[](size_t index) const {
        static const Value missing;
        return index < array.size() ? array[index] : missing;
    }
    size_t size() const { return type == Type::kArray ? array.size() : object.size(); }
    double number() const { return std::strtod(text.c_str(), nullptr); }
    float asFloat() const { return std::strtof(text.c_str(), nullptr); }
};

class Reader {
  public:
    // False, with where() the offset of the problem, when the text is not one JSON value.
    bool parse(const std::string& text, Value& out) {
        text_ = &text;
        at_ = 0;
        ok_ = true;
        out = value();
        blanks();
        if (at_ != text.size())
            fail();
        return ok_;
    }
    size_t where() const { return at_; }

  private:
    void fail() {
        if (ok_)
            ok_ = false;
    }
    char peek() const { return at_ < text_->size() ? (*text_)[at_] : '\0'; }
    void blanks() {
        while (at_ < text_->size() &&
               (peek() == ' ' || peek() == '\n' || peek() == '\r' || peek() == '\t'))
            ++at_;
    }
    bool literal(const char* word) {
        const std::string w(word);
        if (text_->compare(at_, w.size(), w) != 0)
            return false;
        at_ += w.size();
        return true;
    }
    Value value() {
        Value v;
        blanks();
        if (!ok_)
            return v;
        const char c = peek();
        if (c == '{') {
            v.type = Value::Type::kObject;
            ++at_;
            blanks();
            if (peek() == '}') {
                ++at_;
                return v;
            }
            while (ok_) {
                blanks();
                if (peek() != '"')
                    return fail(), v;
                const std::string key = string();
                blanks();
                if (peek() != ':')
                    return fail(), v;
                ++at_;
                if (v.object.count(key))
                    return fail(), v;
                v.object[key] = value();
                blanks();
                if (peek() == ',') {
                    ++at_;
                    continue;
                }
                if (peek() == '}') {
                    ++at_;
                    return v;
                }
                fail();
            }
            return v;
        }
        if (c == '[') {
            v.type = Value::Type::kArray;
            ++at_;
            blanks();
            if (peek() == ']') {
                ++at_;
                return v;
            }
            while (ok_) {
                v.array.push_back(value());
                blanks();
                if (peek() == ',') {
                    ++at_;
                    continue;
                }
                if (peek() == ']') {
                    ++at_;
                    return v;
                }
                fail();
            }
            return v;
        }
        if (c == '"') {
            v.type = Value::Type::kString;
            v.text = string();
            return v;
        }
        if (literal("true")) {
            v.type = Value::Type::kBool;
            v.boolean = true;
            return v;
        }
        if (literal("false")) {
            v.type = Value::Type::kBool;
            return v;
        }
        if (literal("null"))
            return v;
        v.type = Value::Type::kNumber;
        v.text = number();
        return v;
    }
    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    std::string number() {
        const size_t start = at_;
        auto digits = [&]() {
            size_t n = 0;
            while (peek() >= '0' && peek() <= '9')
                ++at_, ++n;
            return n;
        };
        if (peek() == '-')
            ++at_;
        if (peek() == '0')
            ++at_;
        else if (digits() == 0)
            return fail(), "";
        if (peek() == '.') {
            ++at_;
            if (digits() == 0)
                return fail(), "";
        }
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-')
                ++at_;
            if (digits() == 0)
                return fail(), "";
        }
        return text_->substr(start, at_ - start);
    }
    std::string string() {
        std::string out;
        ++at_; // the opening quote
        while (ok_) {
            if (at_ >= text_->size())
                return fail(), out;
            const char c = (*text_)[at_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                return fail(), out;
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = peek();
            ++at_;
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (at_ + 4 > text_->size())
                    return fail(), out;
                const unsigned long code = std::strtoul(text_->substr(at_, 4).c_str(), nullptr, 16);
                at_ += 4;
                if (code < 0x80) {
                    out += static_cast<char>(code);
                } else if (code < 0x800) {
                    out += static_cast<char>(0xc0 | (code >> 6));
                    out += static_cast<char>(0x80 | (code & 0x3f));
                } else {
                    out += static_cast<char>(0xe0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
                    out += static_cast<char>(0x80 | (code & 0x3f));
                }
                break;
            }
            default:
                return fail(), out;
            }
        }
        return out;
    }

    const std::string* text_ = nullptr;
    size_t at_ = 0;
    bool ok_ = true;
};

} // namespace testjson
