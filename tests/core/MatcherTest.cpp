// The pattern matcher against the plain per-offset scan it replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "model/ViewModel.h"
#include "rules/Matcher.h"

namespace {

using Bytes = std::vector<uint8_t>;

/// Finds text in data over the whole of it.
uint32_t Find(const std::string& pattern, const std::string& data, bool fold, uint32_t first = 0) {
    return FindPattern(reinterpret_cast<const uint8_t*>(pattern.data()), pattern.size(),
                       reinterpret_cast<const uint8_t*>(data.data()), uint32_t(data.size()), first,
                       uint32_t(data.size()), fold);
}

/// A block of exactly size bytes, so that the sanitizer sees any read past it.
struct ExactBlock {
    explicit ExactBlock(const Bytes& from)
        : size(uint32_t(from.size())), bytes(new uint8_t[from.size()]) {
        std::copy(from.begin(), from.end(), bytes.get());
    }
    uint32_t size;
    std::unique_ptr<uint8_t[]> bytes;
};

}  // namespace

TEST(MatcherTest, HitsAtTheRangeStartAndAtTheVeryEnd) {
    const std::string data = "xyabcxyabc";
    EXPECT_EQ(Find("xy", data, false), 0u);
    EXPECT_EQ(Find("xy", data, false, 1), 5u)
        << "the start offset itself is tried, earlier hits are not";
    EXPECT_EQ(Find("xy", data, false, 5), 5u);
    EXPECT_EQ(Find("abc", data, false, 3), 7u) << "a hit ending on the last byte";
    EXPECT_EQ(Find("xyabcxyabc", data, false), 0u) << "the whole data";
}

TEST(MatcherTest, PatternsRunningPastTheEndAreNeverFound) {
    EXPECT_EQ(Find("bcd", "aaabc", false), NO_OFFSET) << "its first bytes are the last of the data";
    EXPECT_EQ(Find("BCD", "aaabc", true), NO_OFFSET);
    EXPECT_EQ(Find("abcabc", "abc", false), NO_OFFSET) << "longer than the data";
    EXPECT_EQ(Find("a", "", false), NO_OFFSET);
    EXPECT_EQ(Find("", "abc", false), NO_OFFSET) << "an empty pattern never matches";
    EXPECT_EQ(Find("", "abc", true), NO_OFFSET);
}

TEST(MatcherTest, OverlappingHitsAreOneByteApart) {
    const std::string data(100, 'a');
    for (uint32_t first = 0; first <= 96; ++first)
        ASSERT_EQ(Find("aaaa", data, false, first), first);
    EXPECT_EQ(Find("aaaa", data, false, 97), NO_OFFSET);
}

TEST(MatcherTest, FoldingTurnsDataCapitalsIntoSmallLettersOnly) {
    const std::string data = "..ABC..aBc..abc..";
    EXPECT_EQ(Find("abc", data, true), 2u);
    EXPECT_EQ(Find("abc", data, true, 3), 7u);
    EXPECT_EQ(Find("abc", data, true, 8), 12u);
    EXPECT_EQ(Find("abc", data, false), 12u) << "exact matching does not fold";
    EXPECT_EQ(Find("ABC", data, true), NO_OFFSET) << "folded data holds no capitals";
    // Neighbours of the letters differ by 0x20 as well and stay apart.
    EXPECT_EQ(Find("`", "@", true), NO_OFFSET);
    EXPECT_EQ(Find("{", "[", true), NO_OFFSET);
    EXPECT_EQ(Find("\xE1", "\xC1", true), NO_OFFSET) << "bytes from 0x80 up are not folded";
    EXPECT_EQ(Find("\xE1", "\xE1", true), 0u);
    // The same inside a pattern long enough to be compared in wide steps.
    const std::string longPattern =
        "x" + std::string(40, 'q') + "`{\xE1" + std::string(40, 'q') + "x";
    std::string longData = "x" + std::string(40, 'Q') + "`{\xE1" + std::string(40, 'Q') + "X";
    EXPECT_EQ(Find(longPattern, longData, true), 0u);
    for (size_t at : {41, 42, 43}) {
        std::string altered = longData;
        altered[at] = char(altered[at] - 0x20);  // '@', '[', 0xC1
        EXPECT_EQ(Find(longPattern, altered, true), NO_OFFSET) << "byte " << at;
    }
    // A UTF-16 pattern: letters, then zero bytes, first and last bytes folded.
    EXPECT_EQ(Find(std::string("h\0i\0", 4), std::string("xH\0I\0", 5), true), 1u);
}

TEST(MatcherTest, AgreesWithThePlainScanOnRandomData) {
    constexpr uint64_t SEED = 0x5EA2C4;
    std::cout << "[ seed     ] " << SEED << std::endl;
    SCOPED_TRACE("seed " + std::to_string(SEED));
    std::mt19937_64 rng(SEED);
    auto below = [&](uint64_t n) { return n == 0 ? 0 : rng() % n; };
    const std::string alphabets[] = {"aA", std::string("abAB\0", 5), "xyz", "aaaaaaab"};

    // With the widest vectors this processor has, and with 16-byte ones, in
    // turns of four trials, so that both meet the large images.
    struct WideVectorsAgain {
        ~WideVectorsAgain() { SetMatcherWideVectors(true); }
    } again;
    for (int trial = 0; trial < 4000; ++trial) {
        SetMatcherWideVectors(trial / 4 % 2 == 0);
        // Small alphabets make near-matches everywhere; the full byte range
        // makes candidates rare, as in real images.
        const size_t size = trial % 4 == 0 ? below(5001) : below(300);
        const int kind = int(below(5));
        const std::string alphabet = kind < 4 ? alphabets[kind] : std::string();
        auto randomByte = [&] {
            return alphabet.empty() ? uint8_t(rng()) : uint8_t(alphabet[below(alphabet.size())]);
        };
        Bytes bytes(size);
        for (auto& b : bytes) b = randomByte();

        for (int query = 0; query < 12; ++query) {
            const bool fold = query % 2 == 1;
            const size_t length = 1 + below(query % 6 == 0 ? 40 : 12);
            Bytes pattern(length);
            for (auto& b : pattern) b = randomByte();
            const int plant = int(below(4));
            if (plant == 1 && length <= size) {
                // An occurrence, often overlapping itself when the alphabet is small.
                std::copy(pattern.begin(), pattern.end(),
                          bytes.begin() + ptrdiff_t(below(size - length + 1)));
            } else if (plant == 2 && size > 0) {
                // The data ends with the pattern's first bytes only.
                const size_t cut = 1 + below(std::min(length, size));
                std::copy(pattern.begin(), pattern.begin() + ptrdiff_t(cut),
                          bytes.end() - ptrdiff_t(cut));
                if (cut < length) pattern[cut] = uint8_t(pattern[cut] ^ 0x01);
            } else if (plant == 3 && length <= size) {
                // Copy it out of the data, so that it occurs at least once.
                const size_t at = below(size - length + 1);
                std::copy(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + length),
                          pattern.begin());
            }
            if (fold && below(4) != 0) {
                for (auto& b : pattern) b = uint8_t(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
            }

            const ExactBlock data(bytes);
            const uint32_t last = uint32_t(below(size + 1));
            const uint32_t first = uint32_t(below(size + 2));
            ASSERT_EQ(
                FindPattern(pattern.data(), length, data.bytes.get(), data.size, first, last, fold),
                model::NaiveFind(pattern, fold, data.bytes.get(), data.size, first, last))
                << "trial " << trial << " query " << query << " size " << size << " length "
                << length << " range " << first << ".." << last << (fold ? " folded" : " exact");

            // Walking [start, size) in blocks of random length finds what one
            // scan of the whole range finds.
            const uint32_t start = uint32_t(below(size + 1));
            const uint32_t whole =
                model::NaiveFind(pattern, fold, data.bytes.get(), data.size, start);
            uint32_t walked = NO_OFFSET;
            for (uint32_t from = start; from < data.size && walked == NO_OFFSET;) {
                const uint32_t to = std::min<uint32_t>(data.size, from + 1 + uint32_t(below(70)));
                walked = FindPattern(pattern.data(), length, data.bytes.get(), data.size, from, to,
                                     fold);
                from = to;
            }
            ASSERT_EQ(walked, whole)
                << "trial " << trial << " query " << query << " walked from " << start;
        }
    }
}
