#include "rules/Matcher.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#define BYTEWREN_MATCHER_SSE2 1
#include <emmintrin.h>
// 32-byte vectors where the processor has them. On Windows GCC does not
// align the stack for spilled 32-byte vectors, so that build assembles this
// file with every aligned vector move made an unaligned one.
#if defined(__x86_64__) && defined(__GNUC__)
#define BYTEWREN_MATCHER_AVX2 1
#include <immintrin.h>
#endif
#endif

namespace {

constexpr size_t NONE = SIZE_MAX;

constexpr bool IsUpper(uint8_t b) { return uint8_t(b - 'A') < 26; }
constexpr bool IsLower(uint8_t b) { return uint8_t(b - 'a') < 26; }
constexpr uint8_t Fold(uint8_t b) { return IsUpper(b) ? uint8_t(b | 0x20) : b; }

#if BYTEWREN_MATCHER_SSE2
inline __m128i Load(const uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

/// The sixteen bytes of v with 'A'..'Z' turned into 'a'..'z'. Adding 0x3F
/// moves 'A'..'Z' to 0x80..0x99, the 26 smallest values as signed bytes.
inline __m128i FoldVector(__m128i v) {
    const __m128i shifted = _mm_add_epi8(v, _mm_set1_epi8(0x3F));
    const __m128i upper = _mm_cmplt_epi8(shifted, _mm_set1_epi8(int8_t(0x80 + 26)));
    return _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}

/// What makes a start offset r a candidate: heads[r] | foldHead == head and
/// tails[r] | foldTail == tail, where tails are the data from the pattern's
/// last byte on. Folding ORs 0x20 into the data bytes where the pattern byte
/// is a lower-case letter: that equals the letter exactly for both of its
/// cases, and leaves the exact comparison for every other pattern byte,
/// which a folded data byte can only equal when it is that byte itself.
struct Ends {
    const uint8_t* heads;
    const uint8_t* tails;
    uint8_t head, tail, foldHead, foldTail;
};

/// Steps from through [from, to) 64 start offsets at a time until a step
/// holds a candidate; returns the step's candidates as bits (bit i for
/// from + i), or 0 with from at the first offset that leaves fewer than 64
/// before to.
using NextCandidates = uint64_t (*)(const Ends& ends, size_t& from, size_t to);

/// The processor's prefetcher stops at every 4 KiB boundary, so each page
/// would begin with a wait for memory: on the step that enters a page, the
/// data two pages ahead is asked for. A prefetch past the image's end is
/// harmless (it never faults).
constexpr size_t kPrefetchAhead = 8192;
inline void PrefetchOnNewPage(const uint8_t* at) {
    if ((uintptr_t(at) & 4095) < 64) {
        _mm_prefetch(reinterpret_cast<const char*>(at + kPrefetchAhead), _MM_HINT_T0);
    }
}

inline __m128i Candidates16(const Ends& e, size_t r, __m128i head, __m128i tail, __m128i foldHead,
                            __m128i foldTail) {
    const __m128i h = _mm_or_si128(Load(e.heads + r), foldHead);
    const __m128i t = _mm_or_si128(Load(e.tails + r), foldTail);
    return _mm_and_si128(_mm_cmpeq_epi8(h, head), _mm_cmpeq_epi8(t, tail));
}

uint64_t NextCandidatesSse2(const Ends& e, size_t& from, size_t to) {
    const __m128i head = _mm_set1_epi8(int8_t(e.head)), tail = _mm_set1_epi8(int8_t(e.tail));
    const __m128i foldHead = _mm_set1_epi8(int8_t(e.foldHead));
    const __m128i foldTail = _mm_set1_epi8(int8_t(e.foldTail));
    for (; from + 64 <= to; from += 64) {
        PrefetchOnNewPage(e.heads + from);
        __m128i step[4];
        for (int i = 0; i < 4; ++i) {
            step[i] = Candidates16(e, from + 16 * size_t(i), head, tail, foldHead, foldTail);
        }
        const __m128i any =
            _mm_or_si128(_mm_or_si128(step[0], step[1]), _mm_or_si128(step[2], step[3]));
        if (_mm_movemask_epi8(any) == 0) continue;
        uint64_t mask = 0;
        for (int i = 0; i < 4; ++i) {
            mask |= uint64_t(unsigned(_mm_movemask_epi8(step[i]))) << (16 * i);
        }
        return mask;
    }
    return 0;
}

#if BYTEWREN_MATCHER_AVX2
#define BYTEWREN_AVX2 __attribute__((target("avx2")))

BYTEWREN_AVX2 inline __m256i Candidates32(const Ends& e, size_t r, __m256i head, __m256i tail,
                                          __m256i foldHead, __m256i foldTail) {
    const __m256i h = _mm256_or_si256(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(e.heads + r)), foldHead);
    const __m256i t = _mm256_or_si256(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(e.tails + r)), foldTail);
    return _mm256_and_si256(_mm256_cmpeq_epi8(h, head), _mm256_cmpeq_epi8(t, tail));
}

BYTEWREN_AVX2 uint64_t NextCandidatesAvx2(const Ends& e, size_t& from, size_t to) {
    const __m256i head = _mm256_set1_epi8(int8_t(e.head)), tail = _mm256_set1_epi8(int8_t(e.tail));
    const __m256i foldHead = _mm256_set1_epi8(int8_t(e.foldHead));
    const __m256i foldTail = _mm256_set1_epi8(int8_t(e.foldTail));
    for (; from + 64 <= to; from += 64) {
        PrefetchOnNewPage(e.heads + from);
        const __m256i low = Candidates32(e, from, head, tail, foldHead, foldTail);
        const __m256i high = Candidates32(e, from + 32, head, tail, foldHead, foldTail);
        const __m256i any = _mm256_or_si256(low, high);
        if (_mm256_testz_si256(any, any)) continue;
        return uint64_t(uint32_t(_mm256_movemask_epi8(low))) |
               uint64_t(uint32_t(_mm256_movemask_epi8(high))) << 32;
    }
    return 0;
}
#endif

bool g_wideVectors = true;

NextCandidates ChooseNextCandidates() {
#if BYTEWREN_MATCHER_AVX2
    static const bool avx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    if (avx2 && g_wideVectors) return NextCandidatesAvx2;
#endif
    return NextCandidatesSse2;
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

    /// Tests start offsets by their first and last bytes, in the widest
    /// vectors the processor has, and confirms each candidate. Returns the
    /// hit, or NONE with from advanced to the first start offset left for
    /// the byte loop (fewer than 64 before to).
    size_t Vector(size_t& from, size_t to) const {
        const uint8_t head = pattern_[0];
        const uint8_t tail = pattern_[count_ - 1];
        const Ends ends{data_,
                        data_ + count_ - 1,
                        head,
                        tail,
                        uint8_t(FOLD && IsLower(head) ? 0x20 : 0),
                        uint8_t(FOLD && IsLower(tail) ? 0x20 : 0)};
        const NextCandidates next = ChooseNextCandidates();
        for (uint64_t mask; (mask = next(ends, from, to)) != 0; from += 64) {
            for (; mask != 0; mask &= mask - 1) {
                const size_t at = from + size_t(__builtin_ctzll(mask));
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

void SetMatcherWideVectors(bool allowed) {
#if BYTEWREN_MATCHER_SSE2
    g_wideVectors = allowed;
#else
    (void)allowed;
#endif
}

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
