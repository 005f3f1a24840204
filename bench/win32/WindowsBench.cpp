// bench_win32.exe: the Windows program's side of the benchmark table, run
// under wine by bench_WindowsBench (which keeps the turns and prints the
// rows of the fresh-process figures) or on its own for the in-process ones.
//
//   bench_win32 load FILE          the real main window opens FILE from its
//                                  command line and paints it
//   bench_win32 plainload FILE     ReadFile in 1 MiB calls into one VirtualAlloc block
//   bench_win32 save FILE          FILE loaded, one byte changed, saved over itself
//   bench_win32 plainsave FILE     FILE's bytes written in 1 MiB calls to a new file,
//                                  flushed, moved over FILE
//   bench_win32 searches FILE      FILE loaded once, then for each line
//                                  "MODE TEXT" on standard input one search
//                                  from byte 0 (MODE: a SEARCH_ number), as a
//                                  user searches a file the program holds
//   bench_win32 screen FILE        the repaint and ESC rows, printed as table rows
//
// Each of the first four prints "SECONDS s", timed from the start of the
// process where the figure is about a fresh process; searches prints
// "SECONDS s FOUND offset" (-1 when absent) on a line for each search.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../Table.h"
#include "../TimedSearch.h"
#include "PlainGdi.h"
#include "app/MainDlg.h"
#include "files/win32/Utf16.h"
#include "hosts/win32/MainDialogHost.h"

namespace {

const auto g_processStart = bench::Clock::now();

constexpr DWORD kMiB = 1 << 20;

/// The main window as the program opens it, with file (if any) on its
/// command line.
struct Program {
    explicit Program(const std::string& file = {})
        : host(dlg, ::GetModuleHandleW(nullptr),
               platform::CommandLine::FromLine("\"bytewren.exe\"" +
                                               (file.empty() ? "" : " \"" + file + "\""))) {
        opened = host.Open();
    }
    HWND View() const { return ::GetWindow(host.Window(), GW_CHILD); }
    CHexView& view() { return dlg.m_hexView; }
    /// Pumps until the command line's file is loaded; false if it never is.
    bool WaitLoaded() {
        for (int i = 0; i < 100000 && !(view().HasBytes() && !view().m_bLoading); ++i) {
            if (!host.PumpWaitingMessages()) return false;
            ::Sleep(0);
        }
        return view().HasBytes();
    }

    CMainDlg dlg;
    win32host::MainDialogHost host;
    bool opened = false;
};

void PrintSeconds(double seconds) { std::printf("SECONDS %.6f\n", seconds); }

HANDLE OpenFile(const std::string& path, DWORD access, DWORD creation) {
    return ::CreateFileW(files::win32::Widen(path).c_str(), access, 0, nullptr, creation,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

/// The file's bytes in one VirtualAlloc block, read in 1 MiB calls; null on failure.
uint8_t* PlainRead(const std::string& path, size_t& size) {
    HANDLE file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER length{};
    ::GetFileSizeEx(file, &length);
    size = size_t(length.QuadPart);
    auto* block = static_cast<uint8_t*>(
        ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    for (size_t done = 0; block && done < size;) {
        DWORD got = 0;
        const DWORD ask = DWORD(std::min<size_t>(kMiB, size - done));
        if (!::ReadFile(file, block + done, ask, &got, nullptr) || got == 0) {
            ::VirtualFree(block, 0, MEM_RELEASE);
            block = nullptr;
        }
        done += got;
    }
    ::CloseHandle(file);
    return block;
}

bool PlainWrite(const std::string& path, const uint8_t* bytes, size_t size) {
    const std::string fresh = path + ".plain-new";
    HANDLE file = OpenFile(fresh, GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < size;) {
        DWORD wrote = 0;
        const DWORD ask = DWORD(std::min<size_t>(kMiB, size - done));
        ok = ::WriteFile(file, bytes + done, ask, &wrote, nullptr) && wrote == ask;
        done += wrote;
    }
    ok = ::FlushFileBuffers(file) && ok;
    ::CloseHandle(file);
    return ok && ::MoveFileExW(files::win32::Widen(fresh).c_str(),
                               files::win32::Widen(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}

/// ESC posted to the view `after` seconds into run: the seconds from the
/// post until run returned (negative when run ended first).
template <typename Run>
double EscapeLatency(HWND view, double after, Run run) {
    std::atomic<bool> done{false};
    std::atomic<int64_t> postedAt{0};
    std::thread escape([&] {
        const auto start = bench::Clock::now();
        while (!done && bench::Since(start) < after) ::Sleep(1);
        if (done) return;
        postedAt = bench::Clock::now().time_since_epoch().count();
        ::PostMessageW(view, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    run();
    const int64_t ended = bench::Clock::now().time_since_epoch().count();
    done = true;
    escape.join();
    if (postedAt == 0) return -1;
    return std::chrono::duration<double>(bench::Clock::duration(ended - postedAt)).count();
}

/// Sizes the main window so that the view's dump is width x height.
void SizeDump(Program& program, int width, int height) {
    RECT window{};
    ::GetWindowRect(program.host.Window(), &window);
    const platform::Rect dump = program.view().DumpRect();
    ::SetWindowPos(
        program.host.Window(), nullptr, 0, 0, window.right - window.left + width - dump.Width(),
        window.bottom - window.top + height - dump.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    program.host.PumpWaitingMessages();
}

bool ScreenRows(const std::string& path) {
    Program program;
    if (!program.opened) return false;
    CHexView& view = program.view();
    if (!view.LoadFile(path)) return false;
    SizeDump(program, 1920, 1080);
    const platform::Rect dump = view.DumpRect();
    std::printf("# Windows view %dx%d\n", dump.Width(), dump.Height());
    bool ok = dump.Width() == 1920 && dump.Height() == 1080;
    const HWND window = program.View();
    for (const int bytesPerRow : {16, 48}) {
        while (view.m_nBytesPerRow < bytesPerRow) view.ChangeColumns(+1);
        while (view.m_nBytesPerRow > bytesPerRow) view.ChangeColumns(-1);
        view.m_wndScrollBar->SetScrollPos(1000, true);
        view.m_nSelStart = 1000 * bytesPerRow + 40;
        view.m_nSelEnd = view.m_nSelStart + 200;
        view.m_nCaret = view.m_nSelStart + 70;
        program.host.PumpWaitingMessages();
        const bench::GdiFrame frame =
            bench::Record(window, [&](platform::Surface& s) { view.DrawScreen(s); });
        const SIZE size{dump.Width(), dump.Height()};
        std::vector<double> ours, plain;
        for (int i = 0; i < 50; ++i) {
            ours.push_back(bench::Seconds(
                [&] { ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
            plain.push_back(bench::Seconds([&] { bench::DrawPlain(window, size, frame); }));
        }
        ok &= bench::TimeRow("Windows repaint 1920 x 1080, " + std::to_string(bytesPerRow) +
                                 " bytes per row (whole WM_PAINT)",
                             {bench::Median(ours), bench::Median(plain)}, "plain GDI", 1.5);
    }

    // ESC a little into a load and into a search of an absent text: the
    // worst of the runs.
    std::vector<double> load, search;
    for (int run = 0; run < bench::RUNS; ++run) {
        load.push_back(EscapeLatency(window, 0.02, [&] { view.LoadFile(path); }));
        if (!view.HasBytes()) view.LoadFile(path);  // cancelled, as it should be
        search.push_back(EscapeLatency(window, 0.005, [&] {
            uint32_t found = 0;
            bench::TimedSearch(view, SEARCH_TEXT_NOCASE, "this text is absent!", found,
                               [&] { program.host.PumpWaitingMessages(); });
        }));
    }
    for (const auto& [name, latencies] : {std::pair{"load", load}, std::pair{"search", search}}) {
        const double worst = *std::max_element(latencies.begin(), latencies.end());
        const bool cameFirst = *std::min_element(latencies.begin(), latencies.end()) < 0;
        if (cameFirst) std::printf("# the %s ended before ESC was posted\n", name);
        ok &= bench::Row(std::string("Windows: ESC during a ") + name + ", worst of " +
                             std::to_string(bench::RUNS),
                         bench::Time(worst), "-", "-", "<= 100 ms", !cameFirst && worst <= 0.1);
    }
    program.host.Destroy();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) return 2;
    const std::string& mode = args[0];
    const std::string& path = args[1];
    if (mode == "load") {
        Program program(path);
        if (!program.opened || !program.WaitLoaded()) return 1;
        ::UpdateWindow(program.View());
        PrintSeconds(bench::Since(g_processStart));
        program.host.Destroy();
        return 0;
    }
    if (mode == "plainload") {
        size_t size = 0;
        uint8_t* bytes = PlainRead(path, size);
        if (!bytes) return 1;
        PrintSeconds(bench::Since(g_processStart));
        ::VirtualFree(bytes, 0, MEM_RELEASE);
        return 0;
    }
    if (mode == "save") {
        Program program;
        if (!program.opened || !program.view().LoadFile(path)) return 1;
        CHexView& view = program.view();
        const uint8_t changed = uint8_t(view.m_pData[0] ^ 1);
        view.OverwriteBytes(0, &changed, 1);
        bool saved = false;
        PrintSeconds(bench::Seconds([&] { saved = view.SaveToFile(path); }));
        program.host.Destroy();
        return saved ? 0 : 1;
    }
    if (mode == "plainsave") {
        size_t size = 0;
        uint8_t* bytes = PlainRead(path, size);
        if (!bytes) return 1;
        bool saved = false;
        PrintSeconds(bench::Seconds([&] { saved = PlainWrite(path, bytes, size); }));
        ::VirtualFree(bytes, 0, MEM_RELEASE);
        return saved ? 0 : 1;
    }
    if (mode == "searches") {
        Program program;
        if (!program.opened || !program.view().LoadFile(path)) return 1;
        char line[256];
        int searchMode = 0;
        char text[200];
        while (std::fgets(line, sizeof line, stdin) &&
               std::sscanf(line, "%d %199s", &searchMode, text) == 2) {
            uint32_t found = 0;
            const double seconds = bench::TimedSearch(program.view(), searchMode, text, found,
                                                      [&] { program.host.PumpWaitingMessages(); });
            std::printf("SECONDS %.6f FOUND %lld\n", seconds,
                        found == NO_OFFSET ? -1LL : (long long)found);
            std::fflush(stdout);
        }
        program.host.Destroy();
        return 0;
    }
    if (mode == "screen") return ScreenRows(path) ? 0 : 1;
    return 2;
}
