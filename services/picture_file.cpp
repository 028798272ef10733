// Picture files: the format is told by the first bytes, and every format's
// declared size is checked against the limits, the file's length and the
// budget of decoded pictures before the rest is read or decoded.
#include <png.h>
#include <sys/stat.h>

#include <cstring>
#include <unordered_map>

#include "services_internal.h"

namespace svc {
namespace {

// Largest picture file read: the biggest accepted picture stored uncompressed
// at 16 bits per channel, with room for the container.
constexpr std::size_t kMaxPictureFileBytes = std::size_t{kMaxPicturePixels} * 8 + 64 * 1024 * 1024;
// Deflate expands at most about 1032 : 1; more raw bytes than that cannot be in the file.
constexpr std::int64_t kDeflateMaxRatio = 1032;
// A file longer than its picture stored raw, plus this much room for its
// container and any notes in it, holds something else: it is not read.
constexpr std::int64_t kContainerRoomBytes = 16 << 20;
// A run-length encoded BMP byte pair covers at most 255 pixels.
constexpr std::int64_t kRleMaxPixelsPerByte = 128;

// The first bytes of a file, enough for every format's header.
constexpr std::size_t kHeaderBytes = 64;

struct PictureBudget {
    std::int64_t limit = kDefaultPictureBudget;                // decoded bytes held at most
    std::int64_t held = 0;                                     // decoded bytes of pictures alive now
    std::unordered_map<const SDL_Surface*, std::int64_t> loaded;  // pictures from files -> their bytes
    bool lastRefused = false;                                  // the last load was over the budget
};
PictureBudget budget;

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool IsPng(const std::uint8_t* data, std::size_t size) { return size >= 8 && png_sig_cmp(data, 0, 8) == 0; }
bool IsBmp(const std::uint8_t* data, std::size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

// The IHDR must come first; the raw rows it declares must be able to come
// out of the file's compressed data.
bool PngSizePlausible(const std::uint8_t* data, std::size_t header, std::int64_t size, std::int64_t& pixels) {
    if (header < 33 || Be32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
    const std::int64_t width = Be32(data + 16), height = Be32(data + 20);
    if (!SizeAcceptable(width, height)) return false;
    const int depth = data[24];
    int channels = 0;
    switch (data[25]) {
        case 0: case 3: channels = 1; break;
        case 2: channels = 3; break;
        case 4: channels = 2; break;
        case 6: channels = 4; break;
        default: return false;
    }
    if (depth < 1 || depth > 16) return false;
    const std::int64_t rawBytes = height * (1 + (width * channels * depth + 7) / 8);
    pixels = width * height;
    // Stored without compression, deflate adds 5 bytes to every 65535.
    return rawBytes / kDeflateMaxRatio <= size && size <= rawBytes + rawBytes / 64 + kContainerRoomBytes;
}

// The BMP headers SDL reads: the core (OS/2) header and the Windows ones.
bool BmpSizePlausible(const std::uint8_t* data, std::size_t header, std::int64_t size, std::int64_t& pixels) {
    if (header < 26) return false;
    const std::uint32_t headerSize = Le32(data + 14);
    std::int64_t width = 0, height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = static_cast<std::int16_t>(Le16(data + 18));
        height = static_cast<std::int16_t>(Le16(data + 20));
        bitsPerPixel = Le16(data + 24);
    } else {
        if (header < 34) return false;
        width = static_cast<std::int32_t>(Le32(data + 18));
        height = static_cast<std::int32_t>(Le32(data + 22));
        bitsPerPixel = Le16(data + 28);
        if (headerSize < 16) return false;
        compression = headerSize >= 20 ? Le32(data + 30) : 0;
    }
    if (height < 0) height = -height;  // rows stored top-down
    if (!SizeAcceptable(width, height)) return false;
    pixels = width * height;
    switch (bitsPerPixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return false;
    }
    const std::int64_t length = size;
    switch (compression) {
        case 0:  // plain rows
        case 3:  // rows with bit fields
        case 6: {
            const std::int64_t rows = (width * bitsPerPixel + 31) / 32 * 4 * height;
            return rows <= length && length <= rows + kContainerRoomBytes;
        }
        case 1:  // run-length encoded, 8 or 4 bits
        case 2:
            return width * height / kRleMaxPixelsPerByte <= length && length <= 2 * width * height + kContainerRoomBytes;
        default:
            return false;
    }
}

SurfacePtr DecodeBmp(const std::uint8_t* data, std::size_t size) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) return nullptr;
    SurfacePtr raw(SDL_LoadBMP_RW(rw, 1));
    if (!raw || !SizeAcceptable(raw->w, raw->h)) return nullptr;
    SurfacePtr s(SDL_ConvertSurfaceFormat(raw.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!s) return nullptr;
    SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
    // A BMP without an alpha channel is opaque.
    if (!raw->format->Amask)
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) Row(s.get(), y)[x] |= 0xFF000000u;
    return s;
}

// Every format read: no decoder is reached without its size check.
struct PictureFormat {
    bool (*matches)(const std::uint8_t*, std::size_t);       // the first bytes say it is this format
    // Declared size (from the header's bytes) within the limits and the file's length.
    bool (*sizePlausible)(const std::uint8_t* header, std::size_t headerSize, std::int64_t fileSize, std::int64_t& pixels);
    SurfacePtr (*decode)(const std::uint8_t*, std::size_t);   // into ARGB8888 with alpha
};

constexpr PictureFormat kFormats[] = {
    {IsPng, PngSizePlausible, DecodePng},
    {IsBmp, BmpSizePlausible, DecodeBmp},
};

// The file's format once its first bytes and length are seen; null when it is no picture it may decode.
const PictureFormat* Examine(const std::uint8_t* header, std::size_t headerSize, std::int64_t fileSize,
                             std::int64_t& pixels) {
    if (fileSize > static_cast<std::int64_t>(kMaxPictureFileBytes)) return nullptr;
    for (const PictureFormat& format : kFormats)
        if (format.matches(header, headerSize))
            return format.sizePlausible(header, headerSize, fileSize, pixels) ? &format : nullptr;
    return nullptr;
}

}  // namespace

void FreeSurface(SDL_Surface* surface) {
    if (const auto it = budget.loaded.find(surface); it != budget.loaded.end()) {
        budget.held -= it->second;
        budget.loaded.erase(it);
    }
    SDL_FreeSurface(surface);
}

SurfacePtr LoadPicture(const std::string& path) {
    budget.lastRefused = false;
    std::FILE* f = OpenRegularFile(path);
    if (!f) return nullptr;
    std::vector<std::uint8_t> bytes(kHeaderBytes);
    struct stat st {};
    const std::size_t header = std::fread(bytes.data(), 1, bytes.size(), f);
    std::int64_t pixels = 0;
    const PictureFormat* format = fstat(fileno(f), &st) == 0 ? Examine(bytes.data(), header, st.st_size, pixels) : nullptr;
    if (format && budget.held + pixels * kBytesPerPixel > budget.limit) {
        budget.lastRefused = true;
        format = nullptr;
    }
    // Only now is the rest read, never more than the file said it holds.
    if (format && header == kHeaderBytes) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        const std::size_t rest = std::fread(bytes.data() + header, 1, bytes.size() - header, f);
        bytes.resize(header + rest);
    } else {
        bytes.resize(header);
    }
    std::fclose(f);
    if (!format) return nullptr;
    SurfacePtr s = format->decode(bytes.data(), bytes.size());
    if (s) {
        const std::int64_t held = std::int64_t{s->w} * s->h * kBytesPerPixel;
        budget.loaded[s.get()] = held;
        budget.held += held;
    }
    return s;
}

bool SavePicture(SDL_Surface* surface, const std::string& path, int encoder, bool withAlpha) {
    std::vector<std::uint8_t> bytes;
    if (encoder == kPngEncoder) {
        if (!EncodePng(surface, withAlpha, bytes)) return false;
    } else {
        SurfacePtr rgb(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_BGR24, 0));
        if (!rgb) return false;
        // SDL2 has no growable memory stream: size the buffer from the BMP layout.
        const std::size_t rowBytes = (static_cast<std::size_t>(surface->w) * 3 + 3) & ~std::size_t{3};
        bytes.resize(54 + rowBytes * surface->h + 1024);
        SDL_RWops* mem = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
        if (!mem) return false;
        if (SDL_SaveBMP_RW(rgb.get(), mem, 0) != 0) {
            SDL_RWclose(mem);
            return false;
        }
        bytes.resize(static_cast<std::size_t>(SDL_RWtell(mem)));
        SDL_RWclose(mem);
    }
    return WriteFileSafely(path, bytes.data(), bytes.size());
}

}  // namespace svc

using namespace svc;

void Picture_SetBudget(std::int64_t bytes) { budget.limit = bytes > 0 ? bytes : kDefaultPictureBudget; }

int Picture_OverBudget() { return budget.lastRefused ? 1 : 0; }
