// The one file a command line may name.
#pragma once

#include <optional>
#include <string>

/// The file named on a command line of the platform's form (the quoted
/// program path, a blank, the rest): everything after the first `"` and
/// blank found from the second character on, with every `"` removed and
/// nothing else changed. None when there is no such pair or nothing follows.
std::optional<std::string> FileArgumentFromCommandLine(const std::string& commandLine);
