#include "rules/HexText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace {

/// The two upper-case hex digits of every byte value, byte b at 2 * b.
constexpr std::array<char, 512> HEX_PAIRS = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<char, 512> pairs{};
    for (int b = 0; b < 256; ++b) {
        pairs[2 * b] = digits[b >> 4];
        pairs[2 * b + 1] = digits[b & 15];
    }
    return pairs;
}();

/// The value of every character as one hex digit, or -1.
constexpr std::array<int8_t, 256> HEX_DIGIT_VALUE = [] {
    std::array<int8_t, 256> values{};
    for (int c = 0; c < 256; ++c) {
        values[c] = c >= '0' && c <= '9'   ? int8_t(c - '0')
                    : c >= 'A' && c <= 'F' ? int8_t(c - 'A' + 10)
                    : c >= 'a' && c <= 'f' ? int8_t(c - 'a' + 10)
                                           : int8_t(-1);
    }
    return values;
}();

/// White space as strtol skips it in the C locale.
bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// Writes the two digits of b at out.
inline void PutHex(char* out, uint8_t b) { std::memcpy(out, &HEX_PAIRS[2 * b], 2); }

/// A string of exactly length characters, allocated in one step. Lengths
/// beyond what a string can hold are reported like any other failed
/// allocation, so that callers have one failure to handle.
std::pmr::string TextOfLength(size_t length, std::pmr::memory_resource* memory) {
    std::pmr::string text(memory);
    if (length > text.max_size()) throw std::bad_alloc();
    text.resize(length);
    return text;
}

/// The characters that may stand anywhere between or inside hex pairs.
bool IsPairSeparator(char c) { return c == ' ' || c == '\r' || c == '\n'; }

/// Reads the two characters at pair as strtol(pair, nullptr, 16) would read
/// a string holding just them, keeping the low 8 bits of the result.
uint8_t ReadPair(const char* pair) {
    int i = 0;
    while (i < 2 && IsCSpace(pair[i])) ++i;
    bool negative = false;
    if (i < 2 && (pair[i] == '+' || pair[i] == '-')) negative = pair[i++] == '-';
    unsigned value = 0;
    for (; i < 2 && HexDigitValue(pair[i]) >= 0; ++i)
        value = value * 16 + unsigned(HexDigitValue(pair[i]));
    return uint8_t(negative ? 0u - value : value);
}

}  // namespace

int HexDigitValue(char c) { return HEX_DIGIT_VALUE[static_cast<unsigned char>(c)]; }

std::string HexPair(uint8_t value) { return std::string(&HEX_PAIRS[2 * value], 2); }

std::pmr::string FormatHexString(const uint8_t* data, size_t count,
                                 std::pmr::memory_resource* memory) {
    if (count > SIZE_MAX / 3) throw std::bad_alloc();
    std::pmr::string text = TextOfLength(3 * count, memory);
    char* out = text.data();
    for (size_t i = 0; i < count; ++i, out += 3) {
        PutHex(out, data[i]);
        out[2] = ' ';
    }
    return text;
}

std::pmr::string FormatHexBlock(const uint8_t* data, size_t count, int bytesPerRow,
                                std::pmr::memory_resource* memory) {
    if (bytesPerRow < 1) return FormatHexString(data, count, memory);
    const size_t perRow = size_t(bytesPerRow);
    const size_t rows = count / perRow;
    if (count > SIZE_MAX / 4) throw std::bad_alloc();  // 3 * count + rows <= 4 * count
    std::pmr::string text = TextOfLength(3 * count + rows, memory);
    char* out = text.data();
    const uint8_t* in = data;
    for (size_t row = 0; row < rows; ++row) {
        for (size_t j = 1; j < perRow; ++j, out += 3) {
            PutHex(out, *in++);
            out[2] = ' ';
        }
        PutHex(out, *in++);
        std::memcpy(out + 2, "\r\n", 2);
        out += 4;
    }
    for (const uint8_t* end = data + count; in < end; out += 3) {
        PutHex(out, *in++);
        out[2] = ' ';
    }
    return text;
}

std::pmr::string FormatAsciiText(const uint8_t* data, size_t count,
                                 std::pmr::memory_resource* memory) {
    std::pmr::string text = TextOfLength(count, memory);
    char* out = text.data();
    const uint8_t* in = data;
    const uint8_t* const end = data + count;
    while (in < end) {
        const auto* zero = static_cast<const uint8_t*>(std::memchr(in, 0, size_t(end - in)));
        const uint8_t* runEnd = zero ? zero : end;
        std::memcpy(out, in, size_t(runEnd - in));
        out += runEnd - in;
        in = zero ? zero + 1 : end;
    }
    text.resize(size_t(out - text.data()));  // shrinking keeps the block
    return text;
}

bool IsHexPattern(std::string_view text) {
    size_t digits = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (HexDigitValue(c) < 0) return false;
        ++digits;
    }
    return digits % 2 == 0;
}

std::optional<std::pmr::vector<uint8_t>> ParseHexBytes(std::string_view text,
                                                       std::pmr::memory_resource* memory) {
    const size_t separators = size_t(std::count_if(text.begin(), text.end(), IsPairSeparator));
    const size_t paired = text.size() - separators;
    if (paired % 2 != 0) return std::nullopt;
    std::pmr::vector<uint8_t> bytes(paired / 2, memory);
    // The pairs are read straight from the text, skipping the separators,
    // rather than from a packed copy of it.
    char pair[2];
    size_t filled = 0;
    uint8_t* out = bytes.data();
    for (char c : text) {
        if (IsPairSeparator(c)) continue;
        pair[filled++] = c;
        if (filled == 2) {
            *out++ = ReadPair(pair);
            filled = 0;
        }
    }
    return bytes;
}

uint64_t ParseHexNumber(const std::string& text) {
    uint64_t value = 0;
    uint64_t weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it, weight *= 16) {
        const int digit = HexDigitValue(*it);
        if (digit > 0) value += uint64_t(digit) * weight;
    }
    return value;
}
