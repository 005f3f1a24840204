#include "rules/FileArgument.h"

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

std::optional<std::string> FileArgumentFromArguments(const std::vector<std::string>& arguments) {
    std::string name;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) name += ' ';
        name += arguments[i];
    }
    if (name.empty()) return std::nullopt;
    return name;
}

std::optional<std::string> FileArgument(const platform::CommandLine& commandLine) {
    if (commandLine.form == platform::CommandLine::Form::WholeLine) {
        return FileArgumentFromCommandLine(commandLine.line);
    }
    return FileArgumentFromArguments(commandLine.arguments);
}
