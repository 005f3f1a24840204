// Loading and saving a 1.5 GiB file in the headless host, measured in the
// same run as the shell's baselines on the same cached file: `cat FILE >
// /dev/null` for the load, `cp FILE COPY && sync` for the save (a save
// flushes to disk before it replaces its target, so the baseline must too).
// Also reports the cost of touching fresh memory, the peak resident memory
// of each load and the cost of the first resizes of the image after a load.
//
// Usage: bench_FileBench [size in MiB, default 1536] [runs, default 3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "hosts/headless/HeadlessHost.h"
#include "view/HexView.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Shell(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

/// Peak resident set size since the last ResetPeakRss, in MiB.
double PeakRssMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return -1;
}

void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1536;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const size_t size = mib << 20;

    char pattern[] = "/tmp/bytewren-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string dir = pattern;
    const std::string file = dir + "/input.bin";
    const std::string saved = dir + "/saved.bin";
    const std::string copied = dir + "/copied.bin";
    std::printf("file: %zu MiB in %s, %d runs each\n", mib, dir.c_str(), runs);
    WriteTestFile(file, size);
    Shell("sync");
    Shell("cat " + file + " > /dev/null");  // into the page cache

    // What memory costs that this process has never touched: on a virtual
    // machine the host may have to supply it afresh, which dominates a
    // first load. Measured on a block like the image's, then given back.
    {
        platform::Allocator& heap = platform::DefaultAllocator();
        const auto start = Clock::now();
        void* block = heap.Allocate(size);
        if (!block) return 1;
        for (size_t i = 0; i < size; i += 4096) static_cast<volatile char*>(block)[i] = 1;
        std::printf("touching %zu MiB of fresh memory (huge-page block): %.3f s\n", mib,
                    Seconds(start));
        heap.Free(block);
    }

    headless::HeadlessHost host;
    CHexView view;
    if (!view.Create(host)) return 1;
    host.RunUntilIdle();

    std::vector<double> cat, load, peak, cp, save;
    for (int run = 0; run < runs; ++run) {
        cat.push_back(Shell("cat " + file + " > /dev/null"));

        view.m_image.Release();
        ResetPeakRss();
        const double before = PeakRssMiB();
        const auto start = Clock::now();
        if (!view.LoadFile(file)) return 1;
        load.push_back(Seconds(start));
        peak.push_back(PeakRssMiB());
        std::printf("run %d: cat %.3f s, load %.3f s (%.2f x), peak RSS %.0f MiB "
                    "(file %zu MiB, %.0f MiB before the load)\n",
                    run + 1, cat.back(), load.back(), load.back() / cat.back(), peak.back(),
                    mib, before);

        // The first edit after a load resizes the whole block.
        const uint8_t byte = 0x42;
        const auto resize = Clock::now();
        if (!view.InsertBytes(view.m_nFileSize, &byte, 1)) return 1;
        const double appendByte = Seconds(resize);
        const std::vector<uint8_t> twoMiB(2u << 20, 0x42);
        const auto remap = Clock::now();
        if (!view.InsertBytes(view.m_nFileSize, twoMiB.data(), uint32_t(twoMiB.size()))) return 1;
        const double appendBlock = Seconds(remap);
        std::printf("        then append 1 byte: %.6f s, append 2 MiB (remaps the block): %.6f s\n",
                    appendByte, appendBlock);
    }

    for (int run = 0; run < runs; ++run) {
        ::unlink(copied.c_str());
        ::unlink(saved.c_str());
        Shell("sync");
        cp.push_back(Shell("cp " + file + " " + copied + " && sync"));
        ::unlink(copied.c_str());
        Shell("sync");
        const auto start = Clock::now();
        if (!view.SaveToFile(saved)) return 1;
        save.push_back(Seconds(start));
        std::printf("run %d: cp + sync %.3f s, save %.3f s (%.2f x)\n", run + 1, cp.back(),
                    save.back(), save.back() / cp.back());
    }

    std::printf("median: load %.3f s = %.2f x cat (%.3f s), peak RSS %.0f MiB = file + %.0f MiB\n",
                Median(load), Median(load) / Median(cat), Median(cat), Median(peak),
                Median(peak) - double(mib));
    std::printf("median: save %.3f s = %.2f x cp + sync (%.3f s)\n", Median(save),
                Median(save) / Median(cp), Median(cp));

    view.m_image.Release();
    ::unlink(file.c_str());
    ::unlink(saved.c_str());
    ::unlink(copied.c_str());
    ::rmdir(dir.c_str());
    return 0;
}
