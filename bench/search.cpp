// Search throughput: FindPattern over a large block of random bytes, walked
// in 4 MiB blocks of start offsets as the view's search walks it, next to
// memchr for a byte that never occurs and memmem for the same patterns.
//
// The block is 1.5 GiB; BYTEWREN_BENCH_MB=<MiB> makes it smaller for a quick
// run. Each figure is the best of a few runs, in GB/s (10^9 bytes a second).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "rules/Matcher.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint64_t SEED = 0xB17E5EEDull;
constexpr size_t BLOCK = size_t(4) << 20;  // start offsets per FindPattern call
constexpr int RUNS = 5;
constexpr uint8_t ABSENT_BYTE = 0xFF;  // the random bytes are 0x00..0xFE

uint64_t SplitMix(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

/// Random bytes in 0x00..0xFE, so that memchr has a byte to miss.
void FillRandom(uint8_t* data, size_t size) {
    uint64_t state = SEED;
    for (size_t i = 0; i < size; i += 8) {
        const uint64_t word = SplitMix(state);
        for (size_t j = 0; j < 8 && i + j < size; ++j)
            data[i + j] = uint8_t(((word >> (8 * j)) & 0xFF) * 255 >> 8);
    }
}

std::vector<uint8_t> Utf16(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (char c : text) bytes.insert(bytes.end(), {uint8_t(c), 0});
    return bytes;
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

struct Timing {
    double seconds = 1e30;   // best whole run
    double slowestCall = 0;  // longest single call in any run, seconds
    uint64_t result = 0;
};

template <class Fn>
Timing Measure(Fn&& run) {
    Timing timing;
    for (int i = 0; i < RUNS; ++i) {
        double slowest = 0;
        const auto start = Clock::now();
        timing.result = run(slowest);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        timing.seconds = std::min(timing.seconds, seconds);
        timing.slowestCall = std::max(timing.slowestCall, slowest);
    }
    return timing;
}

/// Searches [0, size) in blocks of start offsets, stopping at the first hit.
uint32_t WalkFind(const std::vector<uint8_t>& pattern, const uint8_t* data, uint32_t size,
                  bool fold, double& slowestCall) {
    for (uint64_t from = 0; from < size; from += BLOCK) {
        const uint32_t to = uint32_t(std::min<uint64_t>(size, from + BLOCK));
        const auto start = Clock::now();
        const uint32_t hit =
            FindPattern(pattern.data(), pattern.size(), data, size, uint32_t(from), to, fold);
        slowestCall =
            std::max(slowestCall, std::chrono::duration<double>(Clock::now() - start).count());
        benchmark::DoNotOptimize(hit);
        if (hit != NO_OFFSET) return hit;
    }
    return NO_OFFSET;
}

struct Row {
    std::string name;
    Timing timing;
    double bytes;
};

}  // namespace

int main() {
    size_t mib = 1536;
    if (const char* env = std::getenv("BYTEWREN_BENCH_MB"))
        mib = std::max(1ul, std::strtoul(env, nullptr, 10));
    mib = std::min<size_t>(mib, 4095);
    const uint32_t size = uint32_t(mib << 20);
    const uint32_t plantedAt = size - 4096;
    std::printf(
        "block %zu MiB of random bytes (seed 0x%llX), pattern planted at 0x%08X, %zu MiB per "
        "call\n",
        mib, static_cast<unsigned long long>(SEED), plantedAt, BLOCK >> 20);

    std::unique_ptr<uint8_t[]> block(new uint8_t[size]);
    uint8_t* const data = block.get();
    FillRandom(data, size);

    struct Mode {
        const char* name;
        bool fold;
        std::vector<uint8_t> planted;  // written into the block
        std::vector<uint8_t> pattern;  // searched for; found at plantedAt
        std::vector<uint8_t> absent;   // searched for; nowhere in the block
    };
    const std::vector<uint8_t> hex = {0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00, 0x00,
                                      0x04, 0x00, 0x00, 0x00, 0xFE, 0xFE, 0x00, 0x00};
    const std::vector<uint8_t> hexAbsent = {0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x06, 0x00,
                                            0x08, 0x00, 0x00, 0x00, 0x21, 0x00, 0x62, 0xEE};
    const Mode modes[] = {
        {"0 hex", false, hex, hex, hexAbsent},
        {"1 text", false, Bytes("BytewrenNeedle16"), Bytes("BytewrenNeedle16"),
         Bytes("AbsentFromBlock!")},
        {"2 utf-16", false, Utf16("Needle16"), Utf16("Needle16"), Utf16("Absent!!")},
        {"3 text, no case", true, Bytes("BYTEwrenNEEDLE16"), Bytes("bytewrenneedle16"),
         Bytes("absentfromblock!")},
        {"4 utf-16, no case", true, Utf16("NeEdLe16"), Utf16("needle16"), Utf16("absent!!")},
    };

    std::vector<Row> rows;
    bool ok = true;
    auto check = [&](const char* what, uint64_t got, uint64_t want) {
        if (got == want) return;
        std::fprintf(stderr, "%s: got 0x%llX, expected 0x%llX\n", what,
                     static_cast<unsigned long long>(got), static_cast<unsigned long long>(want));
        ok = false;
    };

    const Timing scan = Measure([&](double&) {
        const void* hit = std::memchr(data, ABSENT_BYTE, size);
        benchmark::DoNotOptimize(hit);
        return uint64_t(hit != nullptr);
    });
    check("memchr", scan.result, 0);
    rows.push_back({"memchr, absent byte", scan, double(size)});

    for (const Mode& mode : modes) {
        std::copy(mode.planted.begin(), mode.planted.end(), data + plantedAt);
        const std::string name = std::string("mode ") + mode.name;
        for (bool present : {true, false}) {
            const auto& pattern = present ? mode.pattern : mode.absent;
            const uint64_t want = present ? plantedAt : NO_OFFSET;
            const double bytes =
                present ? double(plantedAt) + double(pattern.size()) : double(size);
            const char* which = present ? "planted" : "absent";

            const Timing find = Measure(
                [&](double& slowest) { return WalkFind(pattern, data, size, mode.fold, slowest); });
            check(name.c_str(), find.result, want);
            rows.push_back({"FindPattern " + name + ", " + which, find, bytes});

            if (!mode.fold) {
                const Timing mm = Measure([&](double&) {
                    const void* hit = memmem(data, size, pattern.data(), pattern.size());
                    benchmark::DoNotOptimize(hit);
                    return hit ? uint64_t(static_cast<const uint8_t*>(hit) - data)
                               : uint64_t(NO_OFFSET);
                });
                check("memmem", mm.result, want);
                rows.push_back({"memmem      " + name + ", " + which, mm, bytes});
            }
        }
        std::fill(data + plantedAt, data + plantedAt + mode.planted.size(), uint8_t(0x11));
    }

    // Worst case for a 16-byte pattern: every start offset passes the first-
    // and-last-byte test and fails only in the middle.
    {
        const uint32_t runSize = std::min<uint32_t>(size, 256u << 20);
        std::memset(data, 'a', runSize);
        const std::vector<uint8_t> nearMiss = Bytes("aaaaaaaBaaaaaaaa");
        for (bool fold : {false, true}) {
            const auto pattern = fold ? Bytes("aaaaaaabaaaaaaaa") : nearMiss;
            const Timing find = Measure(
                [&](double& slowest) { return WalkFind(pattern, data, runSize, fold, slowest); });
            check("near miss", find.result, NO_OFFSET);
            rows.push_back(
                {std::string("FindPattern near miss on a run of 'a'") + (fold ? ", no case" : ""),
                 find, double(runSize)});
        }
    }

    const double memchrRate = double(size) / scan.seconds / 1e9;
    std::printf("\n%-46s %8s %10s %14s\n", "case", "GB/s", "of memchr", "slowest call");
    for (const Row& row : rows) {
        const double rate = row.bytes / row.timing.seconds / 1e9;
        std::printf("%-46s %8.2f %9.0f %% ", row.name.c_str(), rate, 100 * rate / memchrRate);
        if (row.timing.slowestCall > 0) std::printf("%11.2f ms\n", row.timing.slowestCall * 1e3);
        else std::printf("%14s\n", "-");
    }
    return ok ? 0 : 1;
}
