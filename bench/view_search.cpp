// A search as the user runs it (panel, ENTER, WM_RUN_SEARCH) over a large
// image of random bytes, in every mode, for a 16-byte pattern 4 KiB before
// the end and for an absent one; next to memchr for a byte that does not
// occur and memmem for the same pattern over the same block. Then the time
// ESC takes to stop a running scan, and the longest gap between two pumps
// (how long a key press can wait at most).
//
// Usage: bench_view_search   (BYTEWREN_BENCH_MB sets the image size, default 1536)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "commands/CommandIds.h"
#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::vk::Escape;
using platform::vk::Return;

double Since(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

size_t ImageBytes() {
    const char* mb = std::getenv("BYTEWREN_BENCH_MB");
    const long n = mb ? std::atol(mb) : 1536;
    return size_t(std::max(1L, n)) << 20;
}

/// A byte the image never holds, so memchr scans all of it.
constexpr uint8_t ABSENT_BYTE = 0xE7;

void FillRandom(uint8_t* data, size_t n) {
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < n; ++i) {
        if (i % 8 == 0) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
        }
        const uint8_t b = uint8_t(x >> (8 * (i % 8)));
        data[i] = b == ABSENT_BYTE ? uint8_t(b + 1) : b;
    }
}

struct Case {
    unsigned command;
    const char* name;
    std::string present;  // what the user types or pastes
    std::string absent;
};

/// The 16 bytes a mode searches for, for planting.
std::string PatternBytes(const Case& c, const std::string& text) {
    std::string bytes;
    switch (c.command) {
        case ID_SEARCH_HEX:
            for (size_t i = 0; i + 1 < text.size(); i += 3) {
                bytes += char(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16));
            }
            return bytes;
        case ID_SEARCH_UNICODE:
        case ID_SEARCH_UNICODE_NOCASE:
            for (char ch : text) bytes += {ch, '\0'};
            return bytes;
        default: return text;
    }
}

class Bench {
public:
    explicit Bench(size_t n) : m_size(n) {
        m_view.Create(m_host);
        m_view.m_image.Allocate(uint32_t(n));
        FillRandom(m_view.m_pData, n);
        m_view.RecalcMetrics();
    }

    /// Seconds of one search from byte 0 for text; the offset found.
    double Search(unsigned command, const std::string& text, uint32_t& found) {
        m_host.PressKey(Escape);
        m_host.DragThumb(0);  // a hit scrolled the view to it
        const platform::Point byte0{m_view.m_nHexLeft + 1, m_view.m_nCellWidth + 1};
        m_host.MoveMouse(byte0);
        m_host.Click(byte0);
        m_host.PostViewMessage(platform::msg::Command, command, 0);
        m_host.RunUntilIdle();
        m_host.Clipboard() = text;
        m_host.PressCtrl('v');
        if (m_view.m_nSelStart != 0 || m_view.m_strInput != text || !m_view.m_bInputPanel) {
            std::printf("the search could not be set up\n");
        }
        const auto start = Clock::now();
        m_host.PressKey(Return);
        const double seconds = Since(start);
        found = m_view.m_strPanelMsg.rfind("Found", 0) == 0 ? m_view.m_nSelStart : NO_OFFSET;
        return seconds;
    }

    void Plant(const std::string& bytes, size_t at) {
        std::memcpy(m_view.m_pData + at, bytes.data(), bytes.size());
    }

    /// ESC posted once the scan has run for `after` seconds: the seconds
    /// from the post until the scan returned, and the longest pump gap.
    void EscapeLatency(double after, double& latency, double& longestGap) {
        const auto start = Clock::now();
        Clock::time_point posted{}, lastPump{};
        longestGap = 0;
        m_host.OnPump([&](int) {
            const auto now = Clock::now();
            if (lastPump != Clock::time_point{}) {
                longestGap =
                    std::max(longestGap, std::chrono::duration<double>(now - lastPump).count());
            }
            lastPump = now;
            if (posted == Clock::time_point{} && Since(start) >= after) {
                posted = now;
                m_host.PostViewMessage(platform::msg::KeyDown, Escape, 0);
            }
        });
        uint32_t found;
        Search(ID_SEARCH_TEXT, "this text is absent", found);
        latency = posted == Clock::time_point{} ? -1 : Since(posted);
        m_host.OnPump(nullptr);
    }

    uint8_t* Data() { return m_view.m_pData; }
    size_t Size() const { return m_size; }

private:
    size_t m_size;
    headless::HeadlessHost m_host;
    CHexView m_view;
};

}  // namespace

int main() {
    Bench bench(ImageBytes());
    const size_t n = bench.Size();
    const size_t at = n - 4096;
    const double gb = double(n) / 1e9;

    auto t = Clock::now();
    const void* none = std::memchr(bench.Data(), ABSENT_BYTE, n);
    const double memchrSeconds = Since(t);

    const Case cases[] = {
        {ID_SEARCH_HEX, "0 HEX", "4D 5A 90 00 03 00 00 00 04 00 00 00 FF FF 00 00",
         "11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 01"},
        {ID_SEARCH_TEXT, "1 TEXT", "Bytewren!Search1", "Absent~~pattern!"},
        {ID_SEARCH_UNICODE, "2 UNICODE", "Bytewren", "Absent!!"},
        {ID_SEARCH_TEXT_NOCASE, "3 TEXT nocase", "bytewren!search3", "absent~~pattern3"},
        {ID_SEARCH_UNICODE_NOCASE, "4 UNICODE nocase", "bytewren", "absent!!"},
    };

    std::printf("image: %zu MiB of random bytes; pattern 16 bytes at 0x%zX\n", n >> 20, at);
    std::printf("%-18s %-8s %9s %8s %9s\n", "search", "pattern", "seconds", "GB/s", "x memchr");
    std::printf("%-18s %-8s %9.4f %8.2f %9s\n", "memchr", "absent", memchrSeconds,
                gb / memchrSeconds, none ? "(hit?)" : "1.00");
    bool ok = true;
    for (const Case& c : cases) {
        const std::string bytes = PatternBytes(c, c.present);
        bench.Plant(bytes, at);
        t = Clock::now();
        const void* mm = memmem(bench.Data(), n, bytes.data(), bytes.size());
        const double memmemSeconds = Since(t);
        if (c.command == ID_SEARCH_HEX) {
            std::printf("%-18s %-8s %9.4f %8.2f %9.2f\n", "memmem", "present", memmemSeconds,
                        gb / memmemSeconds, memchrSeconds / memmemSeconds);
        }
        uint32_t found = 0;
        const double present = bench.Search(c.command, c.present, found);
        ok &= found == at && mm == bench.Data() + at;
        std::printf("%-18s %-8s %9.4f %8.2f %9.2f\n", c.name, "present", present, gb / present,
                    memchrSeconds / present);
        const double absent = bench.Search(c.command, c.absent, found);
        ok &= found == NO_OFFSET;
        std::printf("%-18s %-8s %9.4f %8.2f %9.2f\n", c.name, "absent", absent, gb / absent,
                    memchrSeconds / absent);
        bench.Plant(std::string(bytes.size(), '\x01'), at);
    }

    double latency = 0, gap = 0;
    bench.EscapeLatency(0.05, latency, gap);
    std::printf("ESC posted after 50 ms: scan returned %.2f ms later; longest pump gap %.2f ms\n",
                latency * 1e3, gap * 1e3);
    if (!ok) std::printf("a search did not find what it should\n");
    return ok ? 0 : 1;
}
