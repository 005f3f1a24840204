// The file named on the command line and the file name shown in the caption,
// each against the rule written out by hand.
#include "FuzzInput.h"
#include "rules/FileArgument.h"
#include "view/HexView.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& input) {
    std::fprintf(stderr, "\n==== rule broken: %s for \"%s\"\n", what.c_str(), input.c_str());
    std::abort();
}

/// Everything after the first quote-and-blank found from the second
/// character on, without its quotes; none when that is empty.
std::optional<std::string> FileArgument(const std::string& line) {
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        if (line[i] != '"' || line[i + 1] != ' ') continue;
        std::string rest;
        for (size_t j = i + 2; j < line.size(); ++j) {
            if (line[j] != '"') rest += line[j];
        }
        if (i + 2 == line.size()) return std::nullopt;
        return rest;
    }
    return std::nullopt;
}

/// The part after the last separator once trailing separators are gone; the
/// path unchanged when it has no separator left.
std::string FileName(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '/') --end;
    for (size_t i = end; i-- > 0;) {
        if (path[i] == '/') return path.substr(i + 1, end - i - 1);
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::vector<uint8_t> bytes = in.Rest();
    const std::string text(bytes.begin(), bytes.end());
    if (FileArgumentFromCommandLine(text) != FileArgument(text)) Fail("the command line", text);
    if (CHexView::FileNameFromPath(text) != FileName(text)) Fail("the file name", text);
    return 0;
}
