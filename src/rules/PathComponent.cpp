#include "rules/PathComponent.h"

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

std::string LastPathComponent(const std::string& path) {
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == kSeparator) trimmed.pop_back();
    const size_t last = trimmed.find_last_of(kSeparator);
    if (last == std::string::npos) return path;
    return trimmed.substr(last + 1);
}
