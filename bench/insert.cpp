// Typing in insert mode at the front of a large image, and deleting there,
// in turns with a plain memmove of the whole image by one byte. Each typed
// byte costs one resize of the image block and one move of every byte
// behind the caret; nothing more should show. Prints rows of the benchmark
// table.
//
// Usage: bench_insert   (BYTEWREN_BENCH_MB sets the image size, default 1024)
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LoadedImage.h"
#include "Table.h"
#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

size_t ImageBytes() {
    const char* mb = std::getenv("BYTEWREN_BENCH_MB");
    const long n = mb ? std::atol(mb) : 1024;
    return size_t(std::max(1L, n)) << 20;
}

struct Edits {
    double first = 0;  // the first byte typed at 0
    double tenth = 0;  // the tenth
    double erase = 0;  // DELETE of the byte at 0
    bool ok = false;
};

/// A fresh image of n bytes, as a load leaves it, then ten bytes typed at
/// its start in insert mode and one deleted there.
Edits TypeAtTheStart(const std::vector<uint8_t>& bytes) {
    headless::HeadlessHost host;
    CHexView view;
    Edits edits;
    if (!view.Create(host) || !bench::LoadBytes(view, bytes)) {
        return edits;
    }
    host.PressKey(platform::vk::Insert);
    const platform::Point byte0{view.m_nHexLeft + 1, view.m_nCellWidth + 1};
    host.MoveMouse(byte0);
    host.Click(byte0);
    for (int i = 0; i < 10; ++i) {
        host.TypeChar('A');  // the first digit only waits for its partner
        const double seconds = bench::Seconds([&] { host.TypeChar('B'); });
        if (i == 0) edits.first = seconds;
        if (i == 9) edits.tenth = seconds;
    }
    host.MoveMouse(byte0);
    host.Click(byte0);
    edits.erase = bench::Seconds([&] { host.PressKey(platform::vk::Delete); });
    edits.ok = view.m_nFileSize == bytes.size() + 9 && view.m_pData[0] == 0xAB &&
               view.m_pData[9] == bytes[0];
    return edits;
}

}  // namespace

int main() {
    const size_t n = ImageBytes();
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 131);

    std::vector<double> first, tenth, erase, move;
    bool ok = true;
    for (int run = 0; run < bench::RUNS; ++run) {
        const Edits edits = TypeAtTheStart(bytes);
        ok &= edits.ok;
        first.push_back(edits.first);
        tenth.push_back(edits.tenth);
        erase.push_back(edits.erase);
        move.push_back(
            bench::Seconds([&] { std::memmove(bytes.data() + 1, bytes.data(), n - 1); }));
    }
    if (!ok) std::printf("# unexpected image after the edits\n");

    const std::string size = std::to_string(n >> 20) + " MiB";
    const double baseline = bench::Median(move);
    const std::string memmove = "memmove of " + size;
    ok &= bench::TimeRow("insert a byte at 0 of " + size + ", first",
                         {bench::Median(first), baseline}, memmove, 1.5);
    ok &= bench::TimeRow("insert a byte at 0 of " + size + ", tenth",
                         {bench::Median(tenth), baseline}, memmove, 1.5);
    ok &= bench::TimeRow("delete the byte at 0 of " + size, {bench::Median(erase), baseline},
                         memmove, 1.5);
    return ok ? 0 : 1;
}
