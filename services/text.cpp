// Text helpers. Texts are UTF-8; positions and lengths count code points.
#include <climits>

#include "services_internal.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character at 0-based index `n` (the size when past the end).
std::size_t ByteOffset(const std::string& s, std::int64_t n) {
    std::size_t i = 0;
    for (; i < s.size() && n > 0; --n) {
        ++i;
        while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i]))) ++i;
    }
    return i;
}

// Number of characters in the first `bytes` bytes.
int CharsIn(const std::string& s, std::size_t bytes) {
    int n = 0;
    for (std::size_t i = 0; i < bytes && i < s.size(); ++i)
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) ++n;
    return n;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Changes A-Z and the Latin-1 letters U+00C0-U+00DE (not the multiplication
// sign) to small, or back. Everything else, malformed bytes included, is copied.
std::string ChangeCase(const std::string& text, bool toLower) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (toLower && c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c + 32);
        } else if (!toLower && c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 32);
        } else if (c == 0xC3 && i + 1 < text.size() && IsContinuation(static_cast<unsigned char>(text[i + 1]))) {
            // U+00C0..U+00FF are C3 80..C3 BF.
            std::uint32_t cp = 0xC0 + (static_cast<unsigned char>(text[i + 1]) - 0x80);
            if (toLower && cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) cp += 0x20;
            else if (!toLower && cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;
            AppendUtf8(out, cp);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

std::int32_t Val(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Saturates rather than wrapping: a huge number stays huge and keeps its sign.
        if (v <= static_cast<std::int64_t>(INT32_MAX) + 1) v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

std::string Str(std::int64_t value) { return std::to_string(value); }

int Len(const std::string& text) { return CharsIn(text, text.size()); }

std::string Left(const std::string& text, int n) {
    if (n <= 0) return "";
    return text.substr(0, ByteOffset(text, n));
}

std::string Right(const std::string& text, int n) {
    if (n <= 0) return "";
    const int len = Len(text);
    if (n >= len) return text;
    return text.substr(ByteOffset(text, len - n));
}

std::string Mid(const std::string& text, int start, int length) {
    if (start < 1) start = 1;
    const std::size_t from = ByteOffset(text, start - 1);
    if (length < 0) return text.substr(from);
    const std::size_t to = ByteOffset(text, static_cast<std::int64_t>(start - 1) + length);
    return text.substr(from, to - from);
}

int FindString(const std::string& text, const std::string& needle, int start) {
    if (text.empty() || needle.empty()) return 0;
    if (start < 1) start = 1;
    const std::size_t from = ByteOffset(text, start - 1);
    if (from >= text.size()) return 0;
    const std::size_t at = text.find(needle, from);
    return at == std::string::npos ? 0 : CharsIn(text, at) + 1;
}

int CountString(const std::string& text, const std::string& needle) {
    if (needle.empty()) return 0;
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
    return n;
}

std::string StringField(const std::string& text, int k, char separator) {
    if (k < 1) k = 1;
    std::size_t from = 0;
    for (int field = 1; field < k; ++field) {
        const std::size_t at = text.find(separator, from);
        if (at == std::string::npos) return "";
        from = at + 1;
    }
    const std::size_t end = text.find(separator, from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string LCase(const std::string& text) { return ChangeCase(text, true); }
std::string UCase(const std::string& text) { return ChangeCase(text, false); }

std::string Space(int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

std::string Chr(int code) {
    // No NUL, surrogates or values beyond Unicode: they are not characters of a text.
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return "";
    std::string out;
    AppendUtf8(out, static_cast<std::uint32_t>(code));
    return out;
}
