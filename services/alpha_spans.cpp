// Pictures with alpha laid onto a target through the span of each row that
// shows: the fully transparent margins are never visited, and within the
// span four pixels are blended at a time with the arithmetic of SDL's own
// alpha blit (transparent pixels kept, opaque ones copied, the rest mixed),
// so the result is the same to the bit.
#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "services_internal.h"

namespace svc {
namespace {

constexpr std::uint32_t kAlphaShift = 24;
constexpr std::uint32_t kOpaque = 255;

// One channel of a partly transparent pixel: each term rounded down apart.
std::uint32_t BlendChannel(std::uint32_t source, std::uint32_t target, std::uint32_t weight, std::uint32_t alpha) {
    const std::uint32_t v = ((source * weight) >> 8) + ((target * (kOpaque - alpha)) >> 8);
    return std::min(v, kOpaque);
}

std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d) {
    const std::uint32_t a = s >> kAlphaShift;
    if (a == 0) return d;
    if (a == kOpaque) return s;
    // The alpha byte is weighted by 255, the colour bytes by the alpha.
    return BlendChannel(s & 0xFF, d & 0xFF, a, a) | BlendChannel((s >> 8) & 0xFF, (d >> 8) & 0xFF, a, a) << 8 |
           BlendChannel((s >> 16) & 0xFF, (d >> 16) & 0xFF, a, a) << 16 |
           BlendChannel(s >> kAlphaShift, d >> kAlphaShift, kOpaque, a) << kAlphaShift;
}

#ifdef __SSE2__
// Two pixels widened to 16 bits a byte, blended as BlendChannel does.
__m128i BlendWide(__m128i s, __m128i d) {
    const __m128i alphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);  // each pixel's alpha in its lanes
    const __m128i sourceWeight = _mm_or_si128(a, alphaLanes);
    const __m128i targetWeight = _mm_xor_si128(a, _mm_set1_epi16(255));
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s, sourceWeight), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(d, targetWeight), 8));
}

// Four pixels; the transparent ones keep the target's, the opaque ones are the source's.
__m128i BlendFour(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_srli_epi32(s, kAlphaShift);
    const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
    const __m128i solid = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(kOpaque));
    const __m128i mixed = _mm_packus_epi16(BlendWide(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero)),
                                           BlendWide(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero)));
    const __m128i kept = _mm_or_si128(_mm_and_si128(clear, d), _mm_and_si128(solid, s));
    return _mm_or_si128(kept, _mm_andnot_si128(_mm_or_si128(clear, solid), mixed));
}
#endif

void BlendSpan(const std::uint32_t* from, std::uint32_t* to, std::int64_t length) {
    std::int64_t i = 0;
#ifdef __SSE2__
    for (; i + 4 <= length; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        // Gaps between letters: four transparent pixels leave the target alone.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(s, kAlphaShift), _mm_setzero_si128())) == 0xFFFF) continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), BlendFour(s, d));
    }
#endif
    for (; i < length; ++i) to[i] = BlendPixel(from[i], to[i]);
}

}  // namespace

AlphaSpans FindAlphaSpans(SDL_Surface* picture) {
    AlphaSpans found;
    found.rows.reserve(static_cast<std::size_t>(picture->h));
    for (int y = 0; y < picture->h; ++y) {
        const std::uint32_t* row = Row(picture, y);
        int first = 0, end = picture->w;
        while (first < end && (row[first] >> kAlphaShift) == 0) ++first;
        while (end > first && (row[end - 1] >> kAlphaShift) == 0) --end;
        found.rows.push_back(AlphaSpan{first, end});
    }
    return found;
}

void DrawAlphaSpans(SDL_Surface* picture, const AlphaSpans& spans, SDL_Surface* target, int x, int y) {
    if (spans.rows.size() != static_cast<std::size_t>(picture->h)) return;
    // Widened: a position far off the target must not overflow when the size is added.
    const std::int64_t top = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t bottom = std::min<std::int64_t>(picture->h, std::int64_t{target->h} - y);
    const std::int64_t left = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t right = std::min<std::int64_t>(picture->w, std::int64_t{target->w} - x);
    for (std::int64_t row = top; row < bottom; ++row) {
        const AlphaSpan& span = spans.rows[static_cast<std::size_t>(row)];
        const std::int64_t start = std::max<std::int64_t>(span.first, left);
        const std::int64_t end = std::min<std::int64_t>(span.end, right);
        if (start >= end) continue;
        BlendSpan(Row(picture, static_cast<int>(row)) + start, Row(target, static_cast<int>(y + row)) + (x + start), end - start);
    }
}

}  // namespace svc
