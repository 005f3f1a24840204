#include "hosts/qt/ProcessCommandLine.h"

namespace qthost {

std::string PlatformCommandLine(const std::string& programPath,
                                const std::vector<std::string>& arguments) {
    std::string line = "\"" + programPath + "\"";
    for (size_t i = 0; i < arguments.size(); ++i) {
        line += ' ';
        line += arguments[i];
    }
    return line;
}

}  // namespace qthost
