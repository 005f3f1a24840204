// A search as the user runs it (panel, ENTER, WM_RUN_SEARCH) over a large
// image of random bytes, in every mode, for a 16-byte pattern 4 KiB before
// the end and for an absent one, each in turns with memchr for a byte that
// does not occur (the fastest scan the C library offers); then how long ESC
// takes to stop a running scan, and the longest gap between two pumps (how
// long a key press can wait at most). Prints rows of the benchmark table.
//
// Usage: bench_view_search   (BYTEWREN_BENCH_MB sets the image size, default 1536)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LoadedImage.h"
#include "Table.h"

#include "hosts/headless/HeadlessHost.h"
#include "rules/CommandIds.h"
#include "view/HexView.h"

namespace {

using platform::vk::Escape;
using platform::vk::Return;

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

/// The 16 bytes a mode searches for, for planting.
std::string PatternBytes(unsigned command, const std::string& text) {
    std::string bytes;
    switch (command) {
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
        std::vector<uint8_t> bytes(n);
        FillRandom(bytes.data(), n);
        if (!bench::LoadBytes(m_view, bytes)) std::printf("# the image could not be loaded\n");
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
        const double seconds = bench::Seconds([&] { m_host.PressKey(Return); });
        found = m_view.m_strPanelMsg.rfind("Found", 0) == 0 ? m_view.m_nSelStart : NO_OFFSET;
        return seconds;
    }

    void Plant(const std::string& bytes, size_t at) {
        m_view.m_image.Overwrite(uint32_t(at), reinterpret_cast<const uint8_t*>(bytes.data()),
                                 uint32_t(bytes.size()));
    }

    /// ESC posted once the scan has run for `after` seconds: the seconds
    /// from the post until the scan returned, and the longest pump gap.
    void EscapeLatency(double after, double& latency, double& longestGap) {
        const auto start = bench::Clock::now();
        bench::Clock::time_point posted{}, lastPump{};
        longestGap = 0;
        m_host.OnPump([&](int) {
            const auto now = bench::Clock::now();
            if (lastPump != bench::Clock::time_point{}) {
                longestGap =
                    std::max(longestGap, std::chrono::duration<double>(now - lastPump).count());
            }
            lastPump = now;
            if (posted == bench::Clock::time_point{} && bench::Since(start) >= after) {
                posted = now;
                m_host.PostViewMessage(platform::msg::KeyDown, Escape, 0);
            }
        });
        uint32_t found;
        Search(ID_SEARCH_TEXT, "this text is absent", found);
        latency = posted == bench::Clock::time_point{} ? -1 : bench::Since(posted);
        m_host.OnPump(nullptr);
    }

    const uint8_t* Data() const { return m_view.m_pData; }
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
    const auto memchrAbsent = [&] {
        const void* none = nullptr;
        const double seconds =
            bench::Seconds([&] { none = std::memchr(bench.Data(), ABSENT_BYTE, n); });
        return none ? -1 : seconds;  // a hit would make the baseline too fast
    };

    struct Case {
        unsigned command;
        const char* name;
        double least;         // the throughput ratio to reach
        std::string present;  // what the user types or pastes
        std::string absent;
    };
    const Case cases[] = {
        {ID_SEARCH_HEX, "hex", 0.6, "4D 5A 90 00 03 00 00 00 04 00 00 00 FF FF 00 00",
         "11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 01"},
        {ID_SEARCH_TEXT, "text", 0.6, "Bytewren!Search1", "Absent~~pattern!"},
        {ID_SEARCH_UNICODE, "UTF-16", 0.6, "Bytewren", "Absent!!"},
        {ID_SEARCH_TEXT_NOCASE, "text, any case", 0.5, "bytewren!search3", "absent~~pattern3"},
        {ID_SEARCH_UNICODE_NOCASE, "UTF-16, any case", 0.5, "bytewren", "absent!!"},
    };

    std::printf("# search: %zu MiB of random bytes; 16-byte pattern at 0x%zX\n", n >> 20, at);
    bool ok = true;
    for (const Case& c : cases) {
        const std::string bytes = PatternBytes(c.command, c.present);
        bench.Plant(bytes, at);
        for (const bool present : {true, false}) {
            bool found = true;
            const bench::Medians m = bench::InTurns(
                [&] {
                    uint32_t offset = 0;
                    const double seconds =
                        bench.Search(c.command, present ? c.present : c.absent, offset);
                    found &= offset == (present ? at : NO_OFFSET);
                    return seconds;
                },
                memchrAbsent);
            if (!found) std::printf("# search %s: wrong result\n", c.name);
            ok &= bench::ThroughputRow(std::string("search ") + c.name +
                                           (present ? ", hit near the end" : ", absent"),
                                       m, double(n), "memchr", c.least) &&
                  found;
        }
        bench.Plant(std::string(bytes.size(), '\x01'), at);
    }

    // ESC posted 50 ms into a scan of an absent text: the worst of the runs.
    std::vector<double> latencies;
    double longestGap = 0;
    for (int run = 0; run < bench::RUNS; ++run) {
        double latency = 0, gap = 0;
        bench.EscapeLatency(0.05, latency, gap);
        latencies.push_back(std::max(latency, 0.0));  // < 0: the scan ended first
        longestGap = std::max(longestGap, gap);
    }
    const double worst = *std::max_element(latencies.begin(), latencies.end());
    std::printf("# longest gap between two pumps during a search: %.2f ms\n", longestGap * 1e3);
    ok &= bench::Row("ESC during a search, worst of " + std::to_string(bench::RUNS),
                     bench::Time(worst), "-", "-", "<= 50 ms", worst <= 0.05);
    return ok ? 0 : 1;
}
