// The files of one drop: wParam of msg::DropFiles points at one of these,
// valid while the message is dispatched.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct DroppedFiles {
    std::vector<std::string> paths;  // in the order the platform lists them
};

}  // namespace platform
