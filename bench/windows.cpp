// The Windows program's rows of the benchmark table: bench_win32.exe run
// under wine (the prefix scripts/wine-env prepares), each figure in turns
// with its baseline in the same run on the same 512 MiB file of random
// bytes. Loads and saves run in fresh processes, which time themselves from
// their own start; searches run in one Windows program that holds the file,
// in turns with the headless search of the same file in this process, so
// that each side searches memory it has had since its load; the repaint and
// ESC rows come from the Windows side as they are.
//
// Usage: bench_windows BENCH_WIN32_EXE   (under wine_env_start and an X server)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Table.h"
#include "TimedSearch.h"
#include "hosts/headless/HeadlessHost.h"

extern char** environ;

namespace {

constexpr size_t kFileBytes = size_t(512) << 20;

/// A child process whose standard output (and, when asked for, standard
/// input) is a pipe to this one; pid 0 when it could not be started.
struct Child {
    pid_t pid = 0;
    int input = -1;   // the write end of its standard input, or -1
    int output = -1;  // the read end of its standard output
};

Child Spawn(const std::vector<std::string>& args, bool withInput) {
    Child child;
    int in[2] = {-1, -1}, out[2];
    if (withInput && ::pipe(in) != 0) return child;
    if (::pipe(out) != 0) {
        if (withInput) {
            ::close(in[0]);
            ::close(in[1]);
        }
        return child;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (withInput) {
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
    }
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        child.pid = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (withInput) ::close(in[0]);
    ::close(out[1]);
    child.input = in[1];
    child.output = out[0];
    return child;
}

/// What a child printed on its standard output; ok tells whether it ended
/// with status 0.
std::string Run(const std::vector<std::string>& args, bool* ok = nullptr) {
    const Child child = Spawn(args, false);
    std::string text;
    char buffer[4096];
    for (ssize_t n; child.output >= 0 && (n = ::read(child.output, buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    if (child.output >= 0) ::close(child.output);
    int status = 1;
    const bool succeeded = child.pid > 0 && ::waitpid(child.pid, &status, 0) == child.pid &&
                           WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ok) *ok = succeeded;
    return text;
}

/// The number after `key` in a child's output, or -1.
double Value(const std::string& output, const std::string& key) {
    std::istringstream lines(output);
    for (std::string word; lines >> word;) {
        double value = 0;
        if (word == key && lines >> value) return value;
    }
    return -1;
}

std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) c = c == '/' ? '\\' : c;
    return windows;
}

class Windows {
public:
    explicit Windows(std::string exe) : m_exe(std::move(exe)) {}
    /// The seconds a run of bench_win32 reported, or -1.
    double Seconds(const std::string& mode, const std::string& path) {
        bool ok = false;
        const std::string printed = Run({"wine", m_exe, mode, WindowsPath(path)}, &ok);
        if (!ok) std::printf("# bench_win32 %s failed: %s\n", mode.c_str(), printed.c_str());
        return ok ? Value(printed, "SECONDS") : -1;
    }
    bool Screen(const std::string& path) {
        bool ok = false;
        std::fputs(Run({"wine", m_exe, "screen", WindowsPath(path)}, &ok).c_str(), stdout);
        return ok;
    }

    const std::string& Exe() const { return m_exe; }

private:
    std::string m_exe;
};

/// A Windows program with a file loaded, searching it on request.
class WindowsSearches {
public:
    WindowsSearches(const std::string& exe, const std::string& path) {
        const Child child = Spawn({"wine", exe, "searches", WindowsPath(path)}, true);
        m_pid = child.pid;
        if (child.input >= 0) m_requests = ::fdopen(child.input, "w");
        if (child.output >= 0) m_answers = ::fdopen(child.output, "r");
    }
    ~WindowsSearches() {
        if (m_requests) std::fclose(m_requests);  // the program ends at the end of its input
        if (m_answers) std::fclose(m_answers);
        if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
    }
    /// The seconds of one search for text (no blanks) in mode, or -1 when
    /// the program did not answer; found is the offset, or -1.
    double Search(int mode, const std::string& text, double& found) {
        found = -1;
        if (!m_requests || !m_answers) return -1;
        std::fprintf(m_requests, "%d %s\n", mode, text.c_str());
        std::fflush(m_requests);
        char line[256];
        double seconds = -1;
        long long offset = -1;
        if (!std::fgets(line, sizeof line, m_answers) ||
            std::sscanf(line, "SECONDS %lf FOUND %lld", &seconds, &offset) != 2) {
            std::printf("# bench_win32 searches did not answer\n");
            return -1;
        }
        found = double(offset);
        return seconds;
    }

private:
    pid_t m_pid = 0;
    FILE* m_requests = nullptr;
    FILE* m_answers = nullptr;
};

void WriteRandomFile(const std::string& path, const std::string& planted, size_t at) {
    std::vector<char> bytes(kFileBytes);
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < bytes.size(); i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        std::memcpy(&bytes[i], &x, 8);
    }
    std::memcpy(&bytes[at], planted.data(), planted.size());
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_windows BENCH_WIN32_EXE\n");
        return 2;
    }
    Windows windows(argv[1]);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bytewren-win";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "image.bin").string();
    const std::string link = (folder / "image-link.bin").string();
    const std::string present = "Bytewren!Search1";
    const size_t at = kFileBytes - 4096;
    WriteRandomFile(path, present, at);
    bool ok = true;
    // One run of the Windows program in a mode, its seconds; a run that
    // fails marks its row failed.
    bool ran = true;
    const auto timed = [&](const char* mode) {
        return [&, mode] {
            const double s = windows.Seconds(mode, path);
            ran &= s >= 0;
            return s;
        };
    };
    const auto row = [&](const char* figure, const bench::Medians& m, const char* baseline) {
        ok &= bench::TimeRow(figure, m, baseline, 1.5) && ran;
        ran = true;
    };

    std::printf("# Windows rows: %zu MiB of random bytes\n", kFileBytes >> 20);
    row("Windows: load 512 MiB, fresh process, to the loaded dump",
        bench::InTurns(timed("load"), timed("plainload")), "ReadFile 1 MiB calls");
    row("Windows: save 512 MiB, rename path", bench::InTurns(timed("save"), timed("plainsave")),
        "WriteFile+Flush+MoveFileExW");
    // A second name for the file makes the save write it in place.
    const auto saveInPlace = timed("save");
    const auto plainSave = timed("plainsave");
    row("Windows: save 512 MiB, in place (backup first)",
        bench::InTurns(
            [&] {
                std::filesystem::remove(link);
                std::filesystem::create_hard_link(path, link);
                return saveInPlace();
            },
            [&] { return plainSave() + plainSave(); }),
        "the plain save twice");
    std::filesystem::remove(link);

    headless::HeadlessHost host;
    CHexView view;
    view.Create(host);
    if (!view.LoadFile(path)) {
        std::printf("# the headless view could not load the file\n");
        return 1;
    }
    WindowsSearches searches(windows.Exe(), path);
    const struct {
        int mode;
        const char* name;
    } modes[] = {{SEARCH_TEXT, "text"}, {SEARCH_TEXT_NOCASE, "text, any case"}};
    for (const auto& mode : modes) {
        for (const bool hit : {true, false}) {
            const std::string text = hit ? (mode.mode == SEARCH_TEXT ? present : "bytewren!search1")
                                         : "Absent~~pattern!";
            const uint32_t expected = hit ? uint32_t(at) : NO_OFFSET;
            bool right = true;
            const bench::Medians m = bench::InTurns(
                [&] {
                    double found = 0;
                    const double s = searches.Search(mode.mode, text, found);
                    right &= found == (hit ? double(at) : -1.0) && s > 0;
                    return s;
                },
                [&] {
                    uint32_t found = 0;
                    const double s = bench::TimedSearch(view, mode.mode, text, found,
                                                        [&] { host.RunUntilIdle(); });
                    right &= found == expected;
                    return s;
                });
            if (!right) std::printf("# Windows search %s: wrong result\n", mode.name);
            ok &= bench::ThroughputRow(std::string("Windows: search ") + mode.name +
                                           (hit ? ", hit near the end" : ", absent"),
                                       m, double(kFileBytes), "headless Linux", 0.8) &&
                  right;
        }
    }

    ok &= windows.Screen(path);
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
