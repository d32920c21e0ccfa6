#include "export/jsonText.h"

void appendJsonString(textBuffer& out, const char* text, size_t length) {
    static const char hex[] = "0123456789abcdef";
    out.append('"');
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        switch (c) {
        case '"':
            out.append("\\\"", 2);
            break;
        case '\\':
            out.append("\\\\", 2);
            break;
        case '\n':
            out.append("\\n", 2);
            break;
        case '\r':
            out.append("\\r", 2);
            break;
        case '\t':
            out.append("\\t", 2);
            break;
        case '\b':
            out.append("\\b", 2);
            break;
        case '\f':
            out.append("\\f", 2);
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                const char escape[6] = {'\\', 'u', '0', '0', hex[(c >> 4) & 0xf], hex[c & 0xf]};
                out.append(escape, 6);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

void appendJsonString(textBuffer& out, const std::string& text) {
    appendJsonString(out, text.data(), text.size());
}
