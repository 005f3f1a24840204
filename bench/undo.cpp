// Undo's cost where the image is large: taking back a byte typed at the
// front of the image, against a plain memmove of the whole image by one
// byte (the work of the deletion undo is); typing in overwrite mode with the
// history recording, against the same typing with the history off; and the
// memory the history holds after much typing. Prints rows of the benchmark
// table.
//
// Usage: bench_undo   (BYTEWREN_BENCH_MB sets the image size, default 1024)
#include <cstdlib>
#include <cstring>
#include <memory_resource>
#include <string>
#include <vector>

#include "LoadedImage.h"
#include "Table.h"
#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

using namespace platform;

size_t ImageBytes() {
    const char* mb = std::getenv("BYTEWREN_BENCH_MB");
    const long n = mb ? std::atol(mb) : 1024;
    return size_t(std::max(1L, n)) << 20;
}

/// The heap, counting the bytes it holds out.
class CountingMemory final : public std::pmr::memory_resource {
public:
    size_t InUse() const { return m_inUse; }

private:
    void* do_allocate(size_t bytes, size_t alignment) override {
        m_inUse += bytes;
        return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    void do_deallocate(void* p, size_t bytes, size_t alignment) override {
        m_inUse -= bytes;
        std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
    }
    bool do_is_equal(const memory_resource& other) const noexcept override {
        return this == &other;
    }
    size_t m_inUse = 0;
};

/// A view of the image in a small window (its painting is not measured
/// here), the pointer over byte 0's hex cell.
struct Session {
    headless::HeadlessHost host{320, 120};
    CHexView view;
    Point byte0;

    bool Open(const std::vector<uint8_t>& bytes) {
        if (!view.Create(host) || !bench::LoadBytes(view, bytes)) return false;
        byte0 = {view.m_nHexLeft + 1, view.m_nCellWidth + 1};
        host.MoveMouse(byte0);
        return true;
    }
    /// Selects n bytes from offset 0, ready for typing over them.
    void SelectFromStart(uint32_t n) {
        host.Click(byte0);
        view.m_nSelEnd = n - 1;
    }
    /// Types n bytes over the selection, as pairs of hex digits.
    void TypeBytes(int n) {
        for (int i = 0; i < n; ++i) {
            host.TypeChar('5');
            host.TypeChar('A');
        }
    }
};

/// Seconds to take back a byte typed at the front of the image.
double UndoAtTheStart(const std::vector<uint8_t>& bytes, bool& ok) {
    Session s;
    if (!s.Open(bytes)) return ok = false;
    s.host.PressKey(vk::Insert);
    s.SelectFromStart(1);
    s.TypeBytes(1);
    const double seconds = bench::Seconds([&] { s.host.PressCtrl('z'); });
    ok &= s.view.m_nFileSize == bytes.size() && s.view.m_pData[0] == bytes[0];
    return seconds;
}

/// Seconds to type 1,000 bytes over the front of the image, the history
/// recording them or off.
double TypeOver(const std::vector<uint8_t>& bytes, bool recording, bool& ok) {
    Session s;
    if (!s.Open(bytes)) return ok = false;
    if (!recording) s.view.m_history.SetLimit(0);
    s.SelectFromStart(1000);
    const double seconds = bench::Seconds([&] { s.TypeBytes(1000); });
    ok &= s.view.m_pData[999] == 0x5A && s.view.m_history.CanUndo() == recording;
    return seconds;
}

}  // namespace

int main() {
    const size_t n = ImageBytes();
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 131);
    const std::string size = std::to_string(n >> 20) + " MiB";
    bool ok = true;

    const bench::Medians undo = bench::InTurns(
        [&] { return UndoAtTheStart(bytes, ok); },
        [&] {
            return bench::Seconds([&] { std::memmove(bytes.data(), bytes.data() + 1, n - 1); });
        });
    const bench::Medians typing = bench::InTurns([&] { return TypeOver(bytes, true, ok); },
                                                 [&] { return TypeOver(bytes, false, ok); });

    // 10,000 bytes typed in runs of ten, a click before each: a thousand
    // steps, each keeping the ten bytes it typed over.
    Session s;
    CountingMemory memory;
    ok &= s.Open(std::vector<uint8_t>(bytes.begin(), bytes.begin() + (1 << 20)));
    s.view.m_history.SetMemory(memory);
    for (int run = 0; run < 1000; ++run) {
        s.SelectFromStart(10);
        s.TypeBytes(10);
    }
    ok &= s.view.m_history.StepCount() == 1000;
    const double kib = double(memory.InUse()) / 1024;
    if (!ok) std::printf("# unexpected image or history after the edits\n");

    ok &= bench::TimeRow("undo of a byte typed at 0 of " + size, undo, "memmove of " + size, 1.5);
    ok &= bench::TimeRow("type 1,000 bytes over " + size + ", history on", typing, "history off",
                         1.1);
    ok &= bench::Row("history after 10,000 bytes typed in runs of ten",
                     bench::Format("%.0f KiB", kib), "-", "-", "<= 1024 KiB", kib <= 1024);
    return ok ? 0 : 1;
}
