#include "commands/Matcher.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#define BYTEWREN_MATCHER_SSE2 1
#include <emmintrin.h>
#endif

namespace {

constexpr size_t NONE = SIZE_MAX;

constexpr bool IsUpper(uint8_t b) { return uint8_t(b - 'A') < 26; }
constexpr bool IsLower(uint8_t b) { return uint8_t(b - 'a') < 26; }
constexpr uint8_t Fold(uint8_t b) { return IsUpper(b) ? uint8_t(b | 0x20) : b; }

#if BYTEWREN_MATCHER_SSE2
inline __m128i Load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

/// The sixteen bytes of v with 'A'..'Z' turned into 'a'..'z'. Adding 0x3F
/// moves 'A'..'Z' to 0x80..0x99, the 26 smallest values as signed bytes.
inline __m128i FoldVector(__m128i v) {
    const __m128i shifted = _mm_add_epi8(v, _mm_set1_epi8(0x3F));
    const __m128i upper = _mm_cmplt_epi8(shifted, _mm_set1_epi8(int8_t(0x80 + 26)));
    return _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}
#endif

/// The search over start offsets [from, to), every one of which leaves room
/// for the whole pattern (to + count - 1 <= size). count >= 1; in the folding
/// search the pattern holds no byte 'A'..'Z'.
template <bool FOLD>
class Scan {
public:
    Scan(const uint8_t* pattern, size_t count, const uint8_t* data, size_t size)
        : pattern_(pattern), count_(count), data_(data), size_(size) {
#if BYTEWREN_MATCHER_SSE2
        std::memcpy(shortPattern_, pattern, std::min(count, sizeof shortPattern_));
#endif
    }

    size_t Run(size_t from, size_t to) const {
#if BYTEWREN_MATCHER_SSE2
        // A single exact byte is memchr's own job.
        if (FOLD || count_ > 1) {
            const size_t hit = Vector(from, to);
            if (hit != NONE) return hit;
        }
#endif
        return Portable(from, to);
    }

private:
    /// Whether the whole pattern is at r.
    bool Matches(size_t r) const {
        const uint8_t* const at = data_ + r;
#if BYTEWREN_MATCHER_SSE2
        // Whole vectors where the pattern or the data leave room for them:
        // one comparison for a pattern of up to 16 bytes away from the end.
        if (count_ >= 16) {
            for (size_t i = 0; i + 16 < count_; i += 16) {
                if (!Equal16(at + i, pattern_ + i, 0xFFFF)) return false;
            }
            return Equal16(at + count_ - 16, pattern_ + count_ - 16, 0xFFFF);
        }
        if (r + 16 <= size_) return Equal16(at, shortPattern_, (1u << count_) - 1);
#endif
        for (size_t i = 0; i < count_; ++i) {
            if ((FOLD ? Fold(at[i]) : at[i]) != pattern_[i]) return false;
        }
        return true;
    }

    /// Byte by byte; the exact search lets memchr find each first byte.
    size_t Portable(size_t from, size_t to) const {
        const uint8_t head = pattern_[0];
        for (size_t r = from; r < to; ++r) {
            if constexpr (FOLD) {
                if (Fold(data_[r]) != head) continue;
            } else {
                const void* hit = std::memchr(data_ + r, head, to - r);
                if (!hit) return NONE;
                r = size_t(static_cast<const uint8_t*>(hit) - data_);
            }
            if (Matches(r)) return r;
        }
        return NONE;
    }

#if BYTEWREN_MATCHER_SSE2
    /// Whether the sixteen data bytes at data, folded when folding, equal the
    /// pattern bytes at pattern in every position of mask.
    static bool Equal16(const uint8_t* data, const uint8_t* pattern, unsigned mask) {
        __m128i v = Load(data);
        if constexpr (FOLD) v = FoldVector(v);
        return (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, Load(pattern)))) & mask) == mask;
    }

    /// Tests 32 start offsets at a time on their first and last bytes, then
    /// confirms each candidate. Returns the hit, or NONE with from advanced to
    /// the first start offset left for the byte loop (fewer than 32 before
    /// to). Folding ORs 0x20 into the data bytes where the pattern byte is a
    /// lower-case letter: that equals the letter exactly for both of its
    /// cases, and leaves the exact comparison for every other pattern byte,
    /// which a folded data byte can only equal when it is that byte itself.
    size_t Vector(size_t& from, size_t to) const {
        const uint8_t head = pattern_[0];
        const uint8_t tail = pattern_[count_ - 1];
        const __m128i wantHead = _mm_set1_epi8(int8_t(head));
        const __m128i wantTail = _mm_set1_epi8(int8_t(tail));
        const __m128i foldHead = _mm_set1_epi8(FOLD && IsLower(head) ? 0x20 : 0);
        const __m128i foldTail = _mm_set1_epi8(FOLD && IsLower(tail) ? 0x20 : 0);
        const uint8_t* const tails = data_ + count_ - 1;
        auto candidates = [&](size_t r) {
            __m128i h = Load(data_ + r);
            __m128i t = Load(tails + r);
            if constexpr (FOLD) {
                h = _mm_or_si128(h, foldHead);
                t = _mm_or_si128(t, foldTail);
            }
            return _mm_and_si128(_mm_cmpeq_epi8(h, wantHead), _mm_cmpeq_epi8(t, wantTail));
        };
        for (; from + 32 <= to; from += 32) {
            const __m128i low = candidates(from);
            const __m128i high = candidates(from + 16);
            if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0) continue;
            unsigned mask = unsigned(_mm_movemask_epi8(low)) | unsigned(_mm_movemask_epi8(high)) << 16;
            for (; mask != 0; mask &= mask - 1) {
                const size_t at = from + size_t(__builtin_ctz(mask));
                if (Matches(at)) return at;
            }
        }
        return NONE;
    }

    uint8_t shortPattern_[16] = {};  // the pattern's first bytes, for Equal16
#endif

    const uint8_t* pattern_;
    size_t count_;
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

uint32_t FindPattern(const uint8_t* pattern, size_t count, const uint8_t* data, uint32_t size,
                     uint32_t first, uint32_t last, bool foldCase) {
    if (count == 0 || count > size) return NO_OFFSET;
    const size_t end = std::min(size_t(last), size_t(size) - count + 1);
    if (first >= end) return NO_OFFSET;
    size_t hit;
    if (foldCase) {
        if (std::any_of(pattern, pattern + count, IsUpper)) return NO_OFFSET;
        hit = Scan<true>(pattern, count, data, size).Run(first, end);
    } else {
        hit = Scan<false>(pattern, count, data, size).Run(first, end);
    }
    return hit == NONE ? NO_OFFSET : uint32_t(hit);
}
