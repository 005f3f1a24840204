// Text forms of bytes for the clipboard and the input panels: the hex string,
// the hex block and the raw character copy, and the readings of hexadecimal
// text back into bytes or a number. Pure functions, no window services. The
// texts and byte lists they make come from the memory resource given, and
// each is allocated in one step: when that fails, std::bad_alloc propagates
// and nothing else has happened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The value of c as one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

/// The two upper-case hexadecimal digits of value ("%02X").
std::string HexPair(uint8_t value);

/// Every byte as two upper-case hex digits and a space ("%02X "), so the text
/// ends with a space; 3 * count characters.
std::pmr::string FormatHexString(
    const uint8_t* data, size_t count,
    std::pmr::memory_resource* memory = std::pmr::get_default_resource());

/// As FormatHexString, except that every bytesPerRow-th byte counted from the
/// first is written "%02X\r\n": lines of bytesPerRow bytes, the last line ended
/// by CR LF only when count is a multiple of bytesPerRow. A bytesPerRow below 1
/// gives no line breaks. 3 * count + count / bytesPerRow characters.
std::pmr::string FormatHexBlock(
    const uint8_t* data, size_t count, int bytesPerRow,
    std::pmr::memory_resource* memory = std::pmr::get_default_resource());

/// The bytes unchanged, in order, with every zero byte dropped (empty when all
/// of them are zero).
std::pmr::string FormatAsciiText(
    const uint8_t* data, size_t count,
    std::pmr::memory_resource* memory = std::pmr::get_default_resource());

/// True when text, with its spaces removed, has an even length and holds only
/// 0-9, A-F and a-f. The empty text and a text of spaces only are valid; CR
/// and LF are not.
bool IsHexPattern(std::string_view text);

/// The bytes of a text of hex digit pairs, with spaces, CRs and LFs allowed
/// anywhere. After removing those, an odd length gives nullopt; otherwise each
/// pair is read as strtol in base 16 reads it (leading tab, VT or FF skipped,
/// an optional sign, hex digits up to the first other character, no digit = 0,
/// '-' negates) and its low 8 bits kept: "4G" -> 0x04, "ZZ" -> 0x00,
/// "-1" -> 0xFF. Nothing but the length is validated. The only block made is
/// the list of bytes.
std::optional<std::pmr::vector<uint8_t>> ParseHexBytes(
    std::string_view text, std::pmr::memory_resource* memory = std::pmr::get_default_resource());

/// The value of text read as hex digits, the last character weighing 1 and
/// each one before it 16 times more; a character that is not a hex digit
/// counts 0 (the caller removes spaces first). Wraps modulo 2^64; "" gives 0.
uint64_t ParseHexNumber(const std::string& text);
