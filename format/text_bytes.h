// Names are bytes: the editor writes UTF-8, but a file may hold any 8-bit
// text. These tell well-formed UTF-8 and carry other bytes as hex digits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the well-formed UTF-8 sequence at text[at] (1 to 4), or 0 when
// none starts there: overlong forms, encoded surrogates, code points past
// U+10FFFF and cut sequences are all refused.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);
// Whether the whole text is well-formed UTF-8.
bool IsWellFormedUtf8(std::string_view text);
// Whether the well-formed sequence at text[at] of `length` bytes is a control
// character: C0 (below 0x20), DEL, or C1 (U+0080 to U+009F).
bool IsControlSequence(std::string_view text, std::size_t at, std::size_t length);
// Lower-case hex digits, two per byte.
std::string HexFromBytes(std::string_view bytes);
// The bytes an even number of hex digits spell (either case); false, and
// `bytes` untouched, for anything else.
bool BytesFromHex(std::string_view hex, std::string& bytes);
