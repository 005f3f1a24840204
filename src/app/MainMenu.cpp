#include "app/MainMenu.h"

#include "app/Resources.h"

const platform::MenuBar& MainMenu() {
    using platform::MenuItem;
    static const platform::MenuBar menu = {
        {"&File",
         {
             {"&Open", IDM_FILE_OPEN},
             {"&New", IDM_FILE_NEW},
             {"&Reload File", IDM_FILE_RELOAD},
             {"Save &As", IDM_FILE_SAVEAS},
             {"&Save", IDM_FILE_SAVE},
         }},
        {"&View",
         {
             {"&Decrease Column\tF5", IDM_VIEW_DECREASECOLUMN},
             {"&Increase Column\tF6", IDM_VIEW_INCREASECOLUMN},
             MenuItem::Separator(),
             {"&Normal Character Fading", IDM_VIEW_FADE_NORMAL},
             {"&Less Character Fading", IDM_VIEW_FADE_LESS},
             {"N&o Character Fading", IDM_VIEW_FADE_NONE},
         }},
        {"&Help",
         {
             {"&About...", IDM_HELP_ABOUT},
         }},
    };
    return menu;
}
