// Text helpers. Texts are UTF-8; positions and lengths count code points.
#include <climits>

#include "services_internal.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character at 0-based index `n` (the size when past the end).
std::size_t ByteOffset(const std::string& s, std::int64_t n) {
    std::size_t i = 0;
    for (; i < s.size() && n > 0; --n) i += Utf8CharacterBytes(s, i);
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

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// values beyond Unicode).
bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0, least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1, cp = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2, cp = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3, cp = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;  // cut short
        for (std::size_t k = 1; k <= n; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if (!IsContinuation(d)) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

// Windows-1252 bytes 0x80..0x9F; the five it leaves undefined stay C1 controls.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::size_t Utf8CharacterBytes(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && IsContinuation(static_cast<unsigned char>(text[end]))) ++end;
    return end - at;
}

std::size_t Utf8CharacterStart(std::string_view text, std::size_t at) {
    while (at > 0 && at < text.size() && IsContinuation(static_cast<unsigned char>(text[at]))) --at;
    return at;
}

namespace svc {

std::string DisplayText(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

}  // namespace svc

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
