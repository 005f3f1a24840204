// Offsets are unsigned 32-bit positions in the image, counted from 0.
#pragma once

#include <cstdint>

/// No byte: a selection of nothing, a search that found nothing.
constexpr uint32_t NO_OFFSET = 0xFFFFFFFFu;
