// Menus as plain data: the main window's menu bar and the view's popup menu.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct MenuItem {
    std::string text;  // with '&' mnemonics; "\t" separates a shown key name
    unsigned id = 0;
    bool separator = false;

    static MenuItem Separator() { return MenuItem{"", 0, true}; }
};

struct MenuPopup {
    std::string text;
    std::vector<MenuItem> items;
};

using MenuBar = std::vector<MenuPopup>;

}  // namespace platform
