// Loading and saving a large file in the headless host, each in turns with
// the shell's baselines on the same file, warm in the page cache, every run
// just after memory of the file's size was touched and freed (see
// WarmFreeMemory):
// - a load, each run in a fresh process, next to `cat FILE > /dev/null`
//   plus touching a fresh block of the file's size, also in a fresh process
//   (a load reads the file into memory the process has never touched, and
//   on a virtual machine fresh memory costs as much as the reading);
// - the peak resident memory of those loads, against the file's size;
// - a save on the rename path (a new file replaces the old one) next to
//   `cp` over an older copy + `sync` (a save flushes before it replaces its
//   target);
// - a save in place (the file has a second name, so its old contents are
//   copied aside first and the file itself is written) next to two rounds
//   of `cp` + `sync`.
// Prints rows of the benchmark table.
//
// Usage: bench_FileBench [size in MiB, default 1536]
//        bench_FileBench --load FILE | --read-and-touch FILE
//            one measured run, as the fresh processes of the first form
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "Table.h"
#include "hosts/headless/HeadlessHost.h"
#include "platform/Allocator.h"
#include "view/HexView.h"

namespace {

double Shell(const std::string& command) {
    return bench::Seconds([&] {
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "failed: %s\n", command.c_str());
            std::exit(1);
        }
    });
}

/// Peak resident set size of this process, in MiB.
double PeakRssMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return -1;
}

void WriteTestFile(const std::string& path, size_t bytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<uint64_t> block(1 << 17);  // 1 MiB
    for (size_t done = 0; done < bytes; done += sizeof(uint64_t) * block.size()) {
        for (auto& word : block) word = random();
        const size_t n = std::min(bytes - done, sizeof(uint64_t) * block.size());
        out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(n));
    }
}

/// One load in this fresh process: prints its seconds and the peak RSS.
int MeasureLoad(const std::string& file) {
    headless::HeadlessHost host;
    CHexView view;
    if (!view.Create(host)) return 1;
    host.RunUntilIdle();
    const double before = PeakRssMiB();
    bool loaded = false;
    const double seconds = bench::Seconds([&] { loaded = view.LoadFile(file); });
    if (!loaded) return 1;
    std::printf("%.6f %.1f %.1f\n", seconds, PeakRssMiB(), before);
    return 0;
}

/// The baseline of a load in this fresh process: the file read by cat,
/// then a fresh block of its size touched page by page.
int MeasureReadAndTouch(const std::string& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return 1;
    const size_t size = size_t(st.st_size);
    platform::Allocator& heap = platform::DefaultAllocator();
    void* block = nullptr;
    const double seconds = Shell("cat '" + file + "' > /dev/null") + bench::Seconds([&] {
                               block = heap.Allocate(size);
                               if (block) {
                                   for (size_t i = 0; i < size; i += 4096)
                                       static_cast<volatile char*>(block)[i] = 1;
                               }
                           });
    if (!block) return 1;
    heap.Free(block);
    std::printf("%.6f\n", seconds);
    return 0;
}

/// Touches a fresh block of `bytes` and frees it again, just before a
/// measured run. A virtual machine that reports its free memory to the host
/// hands freed pages back a few seconds later, and the next process to use
/// them waits for the host to supply them again: several times the cost of
/// a first touch of pages the machine still holds. Which of the two a run
/// meets would depend on how long ago memory was freed (by the run before,
/// or by a copy's page cache); doing this before every run, ours and the
/// baseline's alike, makes it the same for both.
void WarmFreeMemory(size_t bytes) {
    platform::Allocator& heap = platform::DefaultAllocator();
    void* block = heap.Allocate(bytes);
    if (!block) return;
    for (size_t i = 0; i < bytes; i += 4096) static_cast<volatile char*>(block)[i] = 1;
    heap.Free(block);
}

/// Runs this program again with `mode` on `file`; its numbers.
std::vector<double> FreshProcess(const std::string& mode, const std::string& file, size_t size) {
    WarmFreeMemory(size);
    const std::string command =
        "/proc/" + std::to_string(::getpid()) + "/exe " + mode + " '" + file + "'";
    FILE* child = ::popen(command.c_str(), "r");
    std::vector<double> numbers;
    double value;
    while (child && std::fscanf(child, "%lf", &value) == 1) numbers.push_back(value);
    if (!child || ::pclose(child) != 0 || numbers.empty()) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return numbers;
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--load") == 0) return MeasureLoad(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--read-and-touch") == 0) {
        return MeasureReadAndTouch(argv[2]);
    }
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1536;
    const size_t size = mib << 20;

    char pattern[] = "/tmp/bytewren-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    const std::string file = dir + "/input.bin";
    const std::string renamed = dir + "/renamed.bin";
    const std::string inPlace = dir + "/in-place.bin";
    const std::string copy = dir + "/copy.bin";
    std::printf("# file: %zu MiB in %s\n", mib, dir.c_str());
    WriteTestFile(file, size);
    Shell("sync && cat " + file + " > /dev/null");  // on disk and in the page cache

    std::vector<double> peaks;
    const bench::Medians load = bench::InTurns(
        [&] {
            const std::vector<double> run = FreshProcess("--load", file, size);
            if (run.size() > 1) peaks.push_back(run[1]);
            return run[0];
        },
        [&] { return FreshProcess("--read-and-touch", file, size)[0]; });
    const std::string figure = std::to_string(mib) + " MiB";
    bool ok = bench::TimeRow("load " + figure + ", fresh process", load,
                             "cat + touching a fresh block", 1.25);
    const double peak = bench::Median(peaks);
    ok &= bench::Row("peak RSS during that load", bench::Format("%.0f MiB", peak), "file " + figure,
                     bench::Format("file + %.0f MiB", peak - double(mib)), "<= file + 64 MiB",
                     peak <= double(mib) + 64);

    headless::HeadlessHost host;
    CHexView view;
    if (!view.Create(host) || !view.LoadFile(file)) return 1;
    const auto save = [&](const std::string& target) {
        Shell("sync");
        WarmFreeMemory(size);
        bool saved = false;
        const double seconds = bench::Seconds([&] { saved = view.SaveToFile(target); });
        if (!saved) ok = false;
        return seconds;
    };
    // cp over an older copy, as a save replaces an older file.
    const auto copies = [&](int rounds) {
        Shell("cp " + file + " " + copy + " && sync");
        double seconds = 0;
        for (int i = 0; i < rounds; ++i) {
            WarmFreeMemory(size);
            seconds += Shell("cp " + file + " " + copy + " && sync");
        }
        return seconds;
    };

    Shell("cp " + file + " " + renamed);
    ok &= bench::TimeRow("save " + figure + ", rename path",
                         bench::InTurns([&] { return save(renamed); }, [&] { return copies(1); }),
                         "cp + sync", 1.5);

    // A second name keeps the file from being replaced: it is written in place.
    Shell("cp " + file + " " + inPlace + " && ln " + inPlace + " " + inPlace + ".link");
    const ino_t inode = Inode(inPlace);
    ok &= bench::TimeRow("save " + figure + ", in place (backup first)",
                         bench::InTurns([&] { return save(inPlace); }, [&] { return copies(2); }),
                         "cp + sync, twice", 1.5);
    if (Inode(inPlace) != inode) {
        std::printf("# the in-place save replaced the file\n");
        ok = false;
    }
    if (!ok) std::printf("# a load or save failed or a target was not met\n");

    view.m_image.Release();
    Shell("rm -rf " + dir);
    return ok ? 0 : 1;
}
