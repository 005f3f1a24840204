// The process's command line as the platform hands it over: either one line
// that the program splits itself (the Windows form, where names with blanks
// are quoted), or the arguments after the program's name, already split and
// unquoted by the shell (the POSIX form).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

struct CommandLine {
    enum class Form { WholeLine, Arguments };

    Form form = Form::Arguments;
    /// WholeLine: the whole line, the quoted program path first.
    std::string line;
    /// Arguments: every argument after the program's name, as given.
    std::vector<std::string> arguments;

    static CommandLine FromLine(std::string line) { return {Form::WholeLine, std::move(line), {}}; }
    static CommandLine FromArguments(std::vector<std::string> arguments) {
        return {Form::Arguments, {}, std::move(arguments)};
    }
};

}  // namespace platform
