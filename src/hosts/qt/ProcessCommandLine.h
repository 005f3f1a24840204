// The process command line in the platform's form, built from argv, so that
// the core's rule for the one file argument applies unchanged.
#pragma once

#include <string>
#include <vector>

namespace qthost {

/// The quoted program path, then, when there are arguments, a blank and the
/// arguments joined by blanks. The bytes are kept as the system gave them.
std::string PlatformCommandLine(const std::string& programPath,
                                const std::vector<std::string>& arguments);

}  // namespace qthost
