// A full repaint of a 1920 x 1080 view in the headless host, at 16 and 48
// bytes per row, with the view scrolled into the middle of a large image.
#include <benchmark/benchmark.h>

#include <cstring>

#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

void FullRepaint(benchmark::State& state) {
    headless::HeadlessHost host(1920, 1080);
    CHexView view;
    if (!view.Create(host)) {
        state.SkipWithError("the view could not be created");
        return;
    }
    const uint32_t size = 32u << 20;
    view.m_image.Allocate(size);
    uint8_t* const bytes = view.m_image.Fill();
    for (uint32_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 2654435761u >> 24);
    view.m_nBytesPerRow = int(state.range(0));
    // Part of the visible rows selected, the caret among them.
    view.m_nSelStart = size / 2 + 100;
    view.m_nSelEnd = size / 2 + 1500;
    view.m_nCaret = size / 2 + 700;
    view.RecalcMetrics();
    host.ScrollBar()->SetScrollPos(int(size / 2 / view.m_nBytesPerRow), true);
    view.m_ptMouse = {view.m_nHexLeft + 4, view.m_nCellWidth + 4};

    for (auto _ : state) {
        host.Invalidate();
        view.OnPaint();
    }
    state.counters["strings"] = double(host.LastFrameStrings().size());
}

}  // namespace

BENCHMARK(FullRepaint)->Arg(16)->Arg(48)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
