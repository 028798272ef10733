// Little-endian reads from a span of bytes, private to the format library.
// Past the end every read gives zero, and the reader stays ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct ByteReader {
    std::span<const std::uint8_t> bytes;  // what there is to read
    std::size_t position = 0;             // next byte
    bool ended = false;                   // sticky: a read went past the end

    bool AtEnd() const { return position >= bytes.size(); }
    std::uint8_t Byte() {
        if (ended || AtEnd()) {
            ended = true;
            return 0;
        }
        return bytes[position++];
    }
    // Four bytes; a value cut by the end keeps the bytes that are there.
    std::uint32_t U32() {
        std::uint32_t value = 0;
        for (int b = 0; b < 4; ++b) value |= std::uint32_t{Byte()} << (8 * b);
        return value;
    }
    // Up to `count` bytes; fewer (and ended) at the end.
    std::span<const std::uint8_t> Take(std::size_t count) {
        const std::size_t available = AtEnd() ? 0 : bytes.size() - position;
        if (count > available) ended = true, count = available;
        const auto taken = bytes.subspan(position, count);
        position += count;
        return taken;
    }
    // One line without its end: LF, CR LF, a lone CR, a zero byte or the end of the data.
    std::string Line() {
        std::string line;
        while (!AtEnd()) {
            const std::uint8_t c = bytes[position++];
            if (c == '\n' || c == 0) break;
            if (c == '\r') {
                if (!AtEnd() && bytes[position] == '\n') ++position;
                break;
            }
            line += static_cast<char>(c);
        }
        return line;
    }
};
