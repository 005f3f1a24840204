// The one file a command line may name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

/// The file named on a command line of the Windows form (the quoted program
/// path, a blank, the rest): everything after the first `"` and blank found
/// from the second character on, with every `"` removed and nothing else
/// changed. None when there is no such pair or nothing follows.
std::optional<std::string> FileArgumentFromCommandLine(const std::string& commandLine);

/// The file named by arguments that the shell has already split and
/// unquoted: one argument unchanged, several joined by blanks (a name with
/// blanks that was not quoted). No character is removed. None when there
/// are no arguments or they join to an empty name.
std::optional<std::string> FileArgumentFromArguments(const std::vector<std::string>& arguments);

/// The file named on the command line, by the rule of its form.
std::optional<std::string> FileArgument(const platform::CommandLine& commandLine);
