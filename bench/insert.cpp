// Typing in insert mode at the front of a large image, and deleting there,
// next to a plain memmove of the same number of bytes. Each typed byte costs
// one resize of the image block and one move of every byte behind the caret;
// nothing more should show.
//
// Usage: bench_insert   (BYTEWREN_BENCH_MB sets the image size, default 1024)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

size_t ImageBytes() {
    const char* mb = std::getenv("BYTEWREN_BENCH_MB");
    const long n = mb ? std::atol(mb) : 1024;
    return size_t(std::max(1L, n)) << 20;
}

/// The best of a few memmoves of n bytes by one position.
double MemmoveSeconds(size_t n) {
    std::vector<uint8_t> block(n + 1, 0x5A);
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto t = Clock::now();
        std::memmove(block.data() + 1, block.data(), n);
        best = std::min(best, Seconds(t));
    }
    return best;
}

}  // namespace

int main() {
    const size_t n = ImageBytes();
    headless::HeadlessHost host;
    CHexView view;
    if (!view.Create(host)) return 1;

    // The image as a load leaves it: allocated through the host, every byte
    // written, byte 0 selected.
    view.m_image.Allocate(uint32_t(n));
    if (!view.m_pData) return 1;
    for (size_t i = 0; i < n; ++i) view.m_pData[i] = uint8_t(i * 131);
    view.RecalcMetrics();

    host.PressKey(platform::vk::Insert);
    const platform::Point byte0{view.m_nHexLeft + 1, view.m_nCellWidth + 1};
    host.MoveMouse(byte0);
    host.Click(byte0);

    double insert[10];
    for (double& t : insert) {
        host.TypeChar('A');  // the first digit only waits for its partner
        const auto start = Clock::now();
        host.TypeChar('B');
        t = Seconds(start);
    }
    host.MoveMouse(byte0);
    host.Click(byte0);
    const auto start = Clock::now();
    host.PressKey(platform::vk::Delete);
    const double erase = Seconds(start);
    const bool ok = view.m_nFileSize == n + 9 && view.m_pData[0] == 0xAB && view.m_pData[9] == 0;

    const double move = MemmoveSeconds(n);
    std::printf("image: %zu MiB\n", n >> 20);
    std::printf("%-28s %10s %8s\n", "operation", "seconds", "x memmove");
    std::printf("%-28s %10.4f %8s\n", "memmove of the image", move, "1.00");
    std::printf("%-28s %10.4f %8.2f\n", "first byte inserted at 0", insert[0], insert[0] / move);
    std::printf("%-28s %10.4f %8.2f\n", "tenth byte inserted at 0", insert[9], insert[9] / move);
    std::printf("%-28s %10.4f %8.2f\n", "byte deleted at 0", erase, erase / move);
    if (!ok) std::printf("unexpected image after the edits\n");
    return ok ? 0 : 1;
}
