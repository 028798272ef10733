// PNG through libpng, scaling through stb_image_resize.
#include <png.h>
#include <stb_image_resize.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "services_internal.h"

namespace svc {
namespace {

struct MemoryReader {
    const std::uint8_t* data;  // the file's bytes
    std::size_t size;          // how many
    std::size_t pos;           // next byte to hand to libpng
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > r->size - r->pos) png_error(png, "read past the end");
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
}

// libpng's errors end the decode through its jump buffer; warnings are dropped.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Everything libpng touches lives in the caller's frame, so the jump out of
// an error skips no destructor. Returns false on any decoding error.
bool DecodeInto(MemoryReader& reader, png_structp png, png_infop info, std::vector<std::uint8_t>& pixels,
                std::vector<png_bytep>& rows, png_uint_32& width, png_uint_32& height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    // Ancillary chunks are not used: a damaged or huge one must not stop the load.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_read_info(png, info);
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!SizeAcceptable(width, height)) return false;
    png_set_expand(png);  // palette, low-bit grey and tRNS become 8-bit channels and alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);  // BGRA in memory is ARGB8888 on little-endian machines
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;
    pixels.resize(static_cast<std::size_t>(width) * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + static_cast<std::size_t>(y) * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

void WriteToMemory(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void FlushNothing(png_structp) {}

// Every chunk must fit in the file. libpng would otherwise allocate what a
// damaged length claims (up to 2 GB) before finding the data missing.
bool ChunksFit(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = 8;
    while (pos + 8 <= size) {
        const std::uint32_t length = (std::uint32_t{data[pos]} << 24) | (std::uint32_t{data[pos + 1]} << 16) |
                                     (std::uint32_t{data[pos + 2]} << 8) | data[pos + 3];
        if (length > size - pos - 8 || size - pos - 8 - length < 4) return false;
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0) return true;
        pos += 12 + static_cast<std::size_t>(length);
    }
    return true;  // a missing end is libpng's to judge
}

}  // namespace

SurfacePtr DecodePng(const std::uint8_t* data, std::size_t size) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0 || !ChunksFit(data, size)) return nullptr;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    MemoryReader reader{data, size, 0};
    std::vector<std::uint8_t> pixels;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0, height = 0;
    const bool ok = DecodeInto(reader, png, info, pixels, rows, width, height);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return nullptr;
    SurfacePtr s = NewSurface(static_cast<int>(width), static_cast<int>(height));
    if (!s) return nullptr;
    for (png_uint_32 y = 0; y < height; ++y)
        std::memcpy(Row(s.get(), static_cast<int>(y)), pixels.data() + static_cast<std::size_t>(y) * width * 4,
                    static_cast<std::size_t>(width) * 4);
    return s;
}

bool EncodePng(SDL_Surface* surface, bool withAlpha, std::vector<std::uint8_t>& out) {
    PngRows rows;
    return rows.Begin(surface, withAlpha) && rows.End(surface, out);
}

// Each call that enters libpng sets the jump buffer in its own frame and
// keeps what libpng touches in the object, so an error's jump back skips no
// destructor; after one, nothing more is encoded.
PngRows::~PngRows() {
    if (png_) png_destroy_write_struct(&png_, &info_);
}

bool PngRows::Begin(SDL_Surface* s, bool withAlpha) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png_) return false;
    info_ = png_create_info_struct(png_);
    failed_ = true;
    if (!info_) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    withAlpha_ = withAlpha;
    png_set_write_fn(png_, &bytes_, WriteToMemory, FlushNothing);
    // Saving happens inside a frame: the fast setting costs 10-15% more bytes
    // and saves most of the time.
    png_set_compression_level(png_, 1);
    png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png_, info_, s->w, s->h, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png_, info_);
    row_.resize(static_cast<std::size_t>(s->w) * (withAlpha ? 4 : 3));
    failed_ = false;
    return true;
}

bool PngRows::Encode(SDL_Surface* s, int rows) {
    if (!png_ || failed_) return false;
    if (setjmp(png_jmpbuf(png_))) {
        failed_ = true;
        return false;
    }
    // Byte stores may alias the members, so the loop works on copies.
    const bool withAlpha = withAlpha_;
    const int width = s->w;
    std::uint8_t* const row = row_.data();
    for (; next_ < rows && next_ < s->h; ++next_) {
        const std::uint32_t* src = Row(s, next_);
        std::uint8_t* out = row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = src[x];
            *out++ = static_cast<std::uint8_t>(p >> 16);
            *out++ = static_cast<std::uint8_t>(p >> 8);
            *out++ = static_cast<std::uint8_t>(p);
            if (withAlpha) *out++ = static_cast<std::uint8_t>(p >> 24);
        }
        png_write_row(png_, row);
    }
    return true;
}

bool PngRows::End(SDL_Surface* s, std::vector<std::uint8_t>& out) {
    if (!Encode(s, s->h)) return false;
    if (setjmp(png_jmpbuf(png_))) {
        failed_ = true;
        return false;
    }
    png_write_end(png_, nullptr);
    out = std::move(bytes_);
    return true;
}

namespace {

// Area averaging along one axis: output j covers source [j * S / D, (j + 1) * S / D),
// each source pixel weighted by how much of it lies inside. Weights sum to 1.
struct AxisTaps {
    std::vector<int> first;      // first source pixel of each output pixel
    std::vector<int> offset;     // where its weights start in `weight`
    std::vector<float> weight;   // coverage / S
    AxisTaps(int source, int target) {
        for (std::int64_t j = 0; j < target; ++j) {
            const std::int64_t lo = j * source, hi = (j + 1) * source;  // in 1/target source pixels
            first.push_back(static_cast<int>(lo / target));
            offset.push_back(static_cast<int>(weight.size()));
            for (std::int64_t i = lo / target; i * target < hi; ++i) {
                const std::int64_t cover = std::min(hi, (i + 1) * target) - std::max(lo, i * target);
                weight.push_back(static_cast<float>(cover) / static_cast<float>(source));
            }
        }
        offset.push_back(static_cast<int>(weight.size()));
    }
    int Count(int j) const { return offset[static_cast<std::size_t>(j) + 1] - offset[static_cast<std::size_t>(j)]; }
};

// Narrows one source row: per output column, alpha-weighted b, g, r and alpha.
void NarrowRow(const std::uint32_t* row, const AxisTaps& across, float* out) {
    for (std::size_t j = 0; j + 1 < across.offset.size(); ++j, out += 4) {
        const float* w = &across.weight[static_cast<std::size_t>(across.offset[j])];
        const std::uint32_t* p = row + across.first[j];
        float b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < across.Count(static_cast<int>(j)); ++k) {
            const std::uint32_t v = p[k];
            const float wa = w[k] * static_cast<float>(v >> 24);
            b += wa * static_cast<float>(v & 0xFF);
            g += wa * static_cast<float>((v >> 8) & 0xFF);
            r += wa * static_cast<float>((v >> 16) & 0xFF);
            a += wa;
        }
        out[0] = b, out[1] = g, out[2] = r, out[3] = a;
    }
}

// One output pixel from its alpha-weighted b, g, r and alpha. Colours are
// divided by the alpha they were weighted with: clear pixels do not darken.
// Each channel is rounded to the nearest of 0..255; the SSE2 form does the
// same operations on all four at once, so both give the same bits.
inline std::uint32_t AveragedPixel(const float* v) {
    const float scale = v[3] > 0 ? 1.0f / v[3] : 0.0f;
#ifdef __SSE2__
    const __m128 scaled = _mm_mul_ps(_mm_loadu_ps(v), _mm_setr_ps(scale, scale, scale, 1.0f));
    const __m128 rounded = _mm_max_ps(_mm_min_ps(_mm_add_ps(scaled, _mm_set1_ps(0.5f)), _mm_set1_ps(255.0f)), _mm_setzero_ps());
    const __m128i words = _mm_packs_epi32(_mm_cvttps_epi32(rounded), _mm_setzero_si128());
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
    auto channel = [](float x) { return static_cast<std::uint32_t>(std::clamp(x + 0.5f, 0.0f, 255.0f)); };
    return (channel(v[3]) << 24) | (channel(v[2] * scale) << 16) | (channel(v[1] * scale) << 8) | channel(v[0] * scale);
#endif
}

// Shrinking by 2 or 4 in both directions (a contact sheet's cells, halved
// pictures): every weight of the passes below is then 1/2 or 1/4, and every
// product and sum a whole number of sixteenths below 2^16, which a float
// holds exactly. Whole-number sums over each block, scaled once, give the
// same bits at a fraction of the work.
template <int kFactor>
void ShrinkByBlocks(SDL_Surface* source, SDL_Surface* target) {
    const float share = 1.0f / static_cast<float>(kFactor * kFactor);
    for (int i = 0; i < target->h; ++i) {
        std::uint32_t* out = Row(target, i);
        for (int j = 0; j < target->w; ++j) {
            std::uint32_t b = 0, g = 0, r = 0, a = 0;
            for (int y = 0; y < kFactor; ++y) {
                const std::uint32_t* p = Row(source, i * kFactor + y) + static_cast<std::ptrdiff_t>(j) * kFactor;
                for (int x = 0; x < kFactor; ++x) {
                    const std::uint32_t v = p[x], alpha = v >> 24;
                    b += alpha * (v & 0xFF), g += alpha * ((v >> 8) & 0xFF), r += alpha * ((v >> 16) & 0xFF), a += alpha;
                }
            }
            const float sums[4] = {static_cast<float>(b) * share, static_cast<float>(g) * share,
                                   static_cast<float>(r) * share, static_cast<float>(a) * share};
            out[j] = AveragedPixel(sums);
        }
    }
}

// Shrinks by blocks when `source` is 2 or 4 times `target` both ways.
bool ShrinkedByBlocks(SDL_Surface* source, SDL_Surface* target) {
    const auto by = [&](int factor) { return source->w == target->w * factor && source->h == target->h * factor; };
    if (by(2)) ShrinkByBlocks<2>(source, target);
    else if (by(4)) ShrinkByBlocks<4>(source, target);
    else return false;
    return true;
}

// Shrinking in both directions: exact area averaging in two separable passes
// over alpha-weighted channels, one row of work memory, none of the general
// resampler's overhead (a screenshot's thumbnail is made inside a frame).
SurfacePtr ShrinkSurface(SDL_Surface* source, int width, int height) {
    SurfacePtr s = NewSurface(width, height);
    if (!s) return nullptr;
    if (ShrinkedByBlocks(source, s.get())) return s;
    const AxisTaps across(source->w, width), down(source->h, height);
    std::vector<float> line(static_cast<std::size_t>(width) * 4), sum(line.size());
    for (int i = 0; i < height; ++i) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* w = &down.weight[static_cast<std::size_t>(down.offset[static_cast<std::size_t>(i)])];
        for (int k = 0; k < down.Count(i); ++k) {
            NarrowRow(Row(source, down.first[static_cast<std::size_t>(i)] + k), across, line.data());
            for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += w[k] * line[c];
        }
        std::uint32_t* out = Row(s.get(), i);
        for (int j = 0; j < width; ++j) out[j] = AveragedPixel(&sum[static_cast<std::size_t>(j) * 4]);
    }
    return s;
}

}  // namespace

SurfacePtr ScaleSurface(SDL_Surface* source, int width, int height) {
    if (width >= 1 && height >= 1 && width <= source->w && height <= source->h) return ShrinkSurface(source, width, height);
    SurfacePtr s = NewSurface(width, height);
    if (!s) return nullptr;
    // Box filter: area averaging when shrinking, weighted by alpha so clear
    // pixels do not darken their neighbours.
    const int ok = stbir_resize_uint8_generic(
        static_cast<const unsigned char*>(source->pixels), source->w, source->h, source->pitch,
        static_cast<unsigned char*>(s->pixels), width, height, s->pitch, 4, 3, 0, STBIR_EDGE_CLAMP,
        STBIR_FILTER_BOX, STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) return nullptr;
    return s;
}

}  // namespace svc
