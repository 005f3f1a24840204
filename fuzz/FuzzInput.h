// A fuzz input read front to back as a series of small decisions, so that
// seeds can be written by hand: a number in a range takes one byte (two for
// ranges wider than 256) modulo the range, a text takes a length byte and
// that many bytes. An exhausted input reads as zeros.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_at >= m_size; }
    uint8_t Byte() { return Empty() ? 0 : m_data[m_at++]; }
    bool Bool() { return Byte() & 1; }

    template <typename T = int>
    T Range(T lo, T hi) {
        const uint64_t span = uint64_t(int64_t(hi) - int64_t(lo)) + 1;
        uint64_t value = Byte();
        if (span > 256) value |= uint64_t(Byte()) << 8;
        return T(int64_t(lo) + int64_t(value % span));
    }

    std::vector<uint8_t> Bytes(size_t max) {
        const size_t n = std::min<size_t>(Byte() % (max + 1), m_size - std::min(m_at, m_size));
        std::vector<uint8_t> bytes(m_data + m_at, m_data + m_at + n);
        m_at += n;
        return bytes;
    }
    std::string Text(size_t max) {
        const std::vector<uint8_t> bytes = Bytes(max);
        return std::string(bytes.begin(), bytes.end());
    }
    /// Everything not read yet.
    std::vector<uint8_t> Rest() {
        std::vector<uint8_t> rest(m_data + std::min(m_at, m_size), m_data + m_size);
        m_at = m_size;
        return rest;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
