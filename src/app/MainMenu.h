// The main window's menu bar.
#pragma once

#include "platform/Menu.h"

const platform::MenuBar& MainMenu();
