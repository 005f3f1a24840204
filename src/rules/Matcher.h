// The byte-pattern matcher behind the search: a forward scan over a range of
// start offsets that the caller can split into blocks, with an ASCII case
// fold on the data bytes for the case-insensitive searches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rules/Offset.h"

/// The first start offset r with first <= r < last such that the count pattern
/// bytes equal data[r .. r + count) and r + count <= size, or NO_OFFSET. A
/// pattern that would run past size is never found, even when its first bytes
/// match the last bytes of data; an empty pattern never matches. last may not
/// exceed size, and data[0 .. size) is all that is read, so the caller may
/// cover [start, size) in consecutive blocks of start offsets.
///
/// With foldCase each data byte 'A'..'Z' is compared as 'a'..'z' and no other
/// byte is changed; the pattern is expected in lower case already (a pattern
/// byte 'A'..'Z' can then never match).
///
/// Candidates are picked by their first and last bytes, so random data is
/// scanned at close to memory speed; data made of near-matches (such as a run
/// of one byte searched for a long run of it) costs up to count compared
/// bytes per start offset, which the caller's block size has to allow for.
uint32_t FindPattern(const uint8_t* pattern, size_t count, const uint8_t* data, uint32_t size,
                     uint32_t first, uint32_t last, bool foldCase);

/// Whether the matcher may use vectors wider than the 16 bytes every x86-64
/// processor has, where this one has them (the default); tests run both.
void SetMatcherWideVectors(bool allowed);
