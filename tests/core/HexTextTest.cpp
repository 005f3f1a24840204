// The clipboard text forms and the readings of hexadecimal text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "rules/HexText.h"

namespace {

using Bytes = std::vector<uint8_t>;

/// The bytes ParseHexBytes reads, as a plain vector for comparing.
std::optional<Bytes> Parsed(std::string_view text) {
    const auto bytes = ParseHexBytes(text);
    if (!bytes) return std::nullopt;
    return Bytes(bytes->begin(), bytes->end());
}

Bytes Counting(size_t n) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i + 1);
    return bytes;
}

/// The hex block written the slow, obvious way.
std::string SlowHexBlock(const Bytes& bytes, int perRow) {
    std::string text;
    char cell[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool endsLine = (i + 1) % size_t(perRow) == 0;
        std::snprintf(cell, sizeof cell, endsLine ? "%02X\r\n" : "%02X ", bytes[i]);
        text += cell;
    }
    return text;
}

}  // namespace

TEST(HexTextTest, HexStringEndsEveryByteWithASpace) {
    const struct {
        Bytes bytes;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{0x00}, "00 "},
        {{0x00, 0xAB, 0x10}, "00 AB 10 "},
        {{0xDE, 0xAD, 0xBE, 0xEF}, "DE AD BE EF "},
        {{0x7F, 0x80, 0x0A, 0x0D, 0x20, 0xFF}, "7F 80 0A 0D 20 FF "},
        {Counting(10), "01 02 03 04 05 06 07 08 09 0A "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string_view(FormatHexString(c.bytes.data(), c.bytes.size())), c.text);
    }
}

TEST(HexTextTest, HexStringWritesEveryByteValueInUpperCase) {
    Bytes all(256);
    std::string expected;
    char cell[4];
    for (int b = 0; b < 256; ++b) {
        all[size_t(b)] = uint8_t(b);
        std::snprintf(cell, sizeof cell, "%02X ", b);
        expected += cell;
    }
    EXPECT_EQ(std::string_view(FormatHexString(all.data(), all.size())), expected);
}

TEST(HexTextTest, HexBlockBreaksLinesCountedFromTheFirstByte) {
    const struct {
        size_t count;
        int perRow;
        std::string text;
    } cases[] = {
        {0, 4, ""},
        {1, 4, "01 "},
        {4, 4, "01 02 03 04\r\n"},
        {6, 4, "01 02 03 04\r\n05 06 "},
        {8, 4, "01 02 03 04\r\n05 06 07 08\r\n"},
        {10, 4, "01 02 03 04\r\n05 06 07 08\r\n09 0A "},
        {3, 1, "01\r\n02\r\n03\r\n"},
        {3, 0, "01 02 03 "},
    };
    for (const auto& c : cases) {
        const Bytes bytes = Counting(c.count);
        EXPECT_EQ(std::string_view(FormatHexBlock(bytes.data(), c.count, c.perRow)), c.text)
            << c.count << " bytes at " << c.perRow << " per row";
    }
}

TEST(HexTextTest, HexBlockMatchesTheObviousFormForEveryShape) {
    for (int perRow = 1; perRow <= 17; ++perRow) {
        for (size_t count = 0; count <= 40; ++count) {
            const Bytes bytes = Counting(count);
            ASSERT_EQ(std::string_view(FormatHexBlock(bytes.data(), count, perRow)),
                      SlowHexBlock(bytes, perRow))
                << count << " bytes at " << perRow << " per row";
        }
    }
}

TEST(HexTextTest, AsciiTextDropsZeroBytesOnly) {
    const struct {
        Bytes bytes;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{0x41, 0x00, 0x42}, "AB"},
        {{0x00, 0x00, 0x00, 0x00}, ""},
        {{0x00, 0x0A, 0xFF, 0x00, 0x00, 0x7F, 0x0D, 0x00}, "\x0A\xFF\x7F\x0D"},
        {{0x68, 0x69}, "hi"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string_view(FormatAsciiText(c.bytes.data(), c.bytes.size())), c.text);
    }
}

TEST(HexTextTest, ImpossibleLengthsFailAsAllocationsWithoutWrapping) {
    const uint8_t byte = 0x41;
    EXPECT_THROW(FormatHexString(&byte, SIZE_MAX / 2), std::bad_alloc);
    EXPECT_THROW(FormatHexBlock(&byte, SIZE_MAX / 3, 16), std::bad_alloc);
    EXPECT_THROW(FormatAsciiText(&byte, SIZE_MAX), std::bad_alloc);
}

TEST(HexTextTest, PatternCheckIsStricterThanParsing) {
    const struct {
        std::string text;
        bool pattern;
        std::optional<Bytes> bytes;
    } cases[] = {
        {"00 AB 10 ", true, Bytes{0x00, 0xAB, 0x10}},
        {"FFAACC", true, Bytes{0xFF, 0xAA, 0xCC}},
        {"F F", true, Bytes{0xFF}},
        {"", true, Bytes{}},
        {"   ", true, Bytes{}},
        {"01 02 03 04\r\n05 06 ", false, Bytes{1, 2, 3, 4, 5, 6}},
        {"0a 1B\r\nff", false, Bytes{0x0A, 0x1B, 0xFF}},
        {"\r\n", false, Bytes{}},
        {"ABC", false, std::nullopt},
        {"AB\r\nC", false, std::nullopt},
        {"4G", false, Bytes{0x04}},
        {"AB\t", false, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHexPattern(c.text), c.pattern) << '"' << c.text << '"';
        EXPECT_EQ(Parsed(c.text), c.bytes) << '"' << c.text << '"';
    }
}

TEST(HexTextTest, PairsAreReadLenientlyLikeStrtol) {
    const struct {
        std::string text;
        Bytes bytes;
    } cases[] = {
        {"4G", {0x04}}, {"ZZ", {0x00}}, {"-1", {0xFF}}, {"+F", {0x0F}}, {"\t7", {0x07}},
        {"-F", {0xF1}}, {"--", {0x00}}, {"7-", {0x07}}, {"0x", {0x00}}, {"ff", {0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parsed(c.text), c.bytes) << '"' << c.text << '"';
    }
}

TEST(HexTextTest, EveryPairReadsAsStrtolReadsIt) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const char pair[3] = {char(a), char(b), '\0'};
            if (std::string_view(" \r\n").find_first_of(std::string_view(pair, 2)) !=
                std::string_view::npos)
                continue;  // removed before pairs are read
            const auto parsed = ParseHexBytes(std::string(pair, 2));
            ASSERT_TRUE(parsed.has_value());
            ASSERT_EQ(parsed->size(), 1u);
            ASSERT_EQ((*parsed)[0], uint8_t(std::strtol(pair, nullptr, 16)))
                << "pair " << a << ' ' << b;
        }
    }
}

TEST(HexTextTest, HexNumberReadsDigitsByPosition) {
    const struct {
        std::string text;
        uint64_t value;
    } cases[] = {
        {"1F320", 0x1F320},
        {"0001F320", 0x1F320},  // "00 01 F3 20" once its spaces are removed
        {"FFFF", 0xFFFF},
        {"ffff", 0xFFFF},
        {"", 0},
        {"64", 0x64},
        {"1FFFFFFFF0A", 0x1FFFFFFFF0Aull},
        {"100000000", 0x100000000ull},
        {"1G", 0x10},
        {"G1", 0x01},
        {"FFFFFFFFFFFFFFFF", UINT64_MAX},
        {"10000000000000000", 0},  // the seventeenth digit weighs 2^64
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHexNumber(c.text), c.value) << '"' << c.text << '"';
    }
}
