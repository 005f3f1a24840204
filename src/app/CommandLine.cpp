#include "app/CommandLine.h"

#include <algorithm>

std::optional<std::string> FileArgumentFromCommandLine(const std::string& commandLine) {
    if (commandLine.size() < 2) return std::nullopt;
    const size_t mark = commandLine.find("\" ", 1);
    if (mark == std::string::npos) return std::nullopt;
    std::string rest = commandLine.substr(mark + 2);
    if (rest.empty()) return std::nullopt;
    rest.erase(std::remove(rest.begin(), rest.end(), '"'), rest.end());
    return rest;
}
