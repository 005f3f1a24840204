// Data handed to the host for the common dialogs and dialog templates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Shapes.h"

namespace platform {

/// The Open and Save As dialogs. filter is in the "Name|pattern||" form.
struct FileDialogRequest {
    std::string filter;
    std::string initialName;
    unsigned flags = 0;  // ofn::
};

/// One control of a dialog template; rect is in dialog units.
struct DialogControl {
    enum class Kind { Icon, Text, Button };
    Kind kind = Kind::Text;
    int id = -1;
    Rect rect;  // left, top, right = left + width, bottom = top + height
    std::string text;
    int iconId = 0;
    bool noPrefix = false;
    bool defaultButton = false;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    Size sizeDlu;  // width and height in dialog units
    std::string fontFace;
    int fontPoints = 0;
    uint32_t style = 0;    // ws::
    uint32_t exStyle = 0;  // ws::Ex*
    int menuId = 0;        // 0: no menu
    std::vector<DialogControl> controls;
};

}  // namespace platform
