// Text forms of bytes for the clipboard and the input panels: the hex string,
// the hex block and the raw character copy, and the readings of hexadecimal
// text back into bytes or a number. Pure functions, no window services.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The value of c as one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

/// Every byte as two upper-case hex digits and a space ("%02X "), so the text
/// ends with a space; 3 * count characters. The text is allocated once; when
/// that fails std::bad_alloc propagates and nothing else has happened.
std::string FormatHexString(const uint8_t* data, size_t count);

/// As FormatHexString, except that every bytesPerRow-th byte counted from the
/// first is written "%02X\r\n": lines of bytesPerRow bytes, the last line ended
/// by CR LF only when count is a multiple of bytesPerRow. A bytesPerRow below 1
/// gives no line breaks. 3 * count + count / bytesPerRow characters, allocated
/// once; may throw std::bad_alloc.
std::string FormatHexBlock(const uint8_t* data, size_t count, int bytesPerRow);

/// The bytes unchanged, in order, with every zero byte dropped (empty when all
/// of them are zero). Allocated once; may throw std::bad_alloc.
std::string FormatAsciiText(const uint8_t* data, size_t count);

/// True when text, with its spaces removed, has an even length and holds only
/// 0-9, A-F and a-f. The empty text and a text of spaces only are valid; CR
/// and LF are not.
bool IsHexPattern(const std::string& text);

/// The bytes of a text of hex digit pairs, with spaces, CRs and LFs allowed
/// anywhere. After removing those, an odd length gives nullopt; otherwise each
/// pair is read as strtol in base 16 reads it (leading tab, VT or FF skipped,
/// an optional sign, hex digits up to the first other character, no digit = 0,
/// '-' negates) and its low 8 bits kept: "4G" -> 0x04, "ZZ" -> 0x00,
/// "-1" -> 0xFF. Nothing but the length is validated. May throw std::bad_alloc.
std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text);

/// The value of text read as hex digits, the last character weighing 1 and
/// each one before it 16 times more; a character that is not a hex digit
/// counts 0 (the caller removes spaces first). Wraps modulo 2^64; "" gives 0.
uint64_t ParseHexNumber(const std::string& text);
