// Resource and command numbers of the main window, its menu and the About box.
#pragma once

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_MAIN_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;  // the program icon
constexpr int IDR_MAIN_MENU = 129;
constexpr int IDC_STATIC = -1;
constexpr int IDOK_BUTTON = 1;

constexpr unsigned IDM_FILE_OPEN = 32771;
constexpr unsigned IDM_FILE_SAVE = 32772;
constexpr unsigned IDM_FILE_SAVEAS = 32773;
constexpr unsigned IDM_FILE_NEW = 32774;
constexpr unsigned IDM_VIEW_INCREASECOLUMN = 32775;
constexpr unsigned IDM_VIEW_DECREASECOLUMN = 32776;
constexpr unsigned IDM_HELP_ABOUT = 32777;
constexpr unsigned IDM_FILE_RELOAD = 32778;
constexpr unsigned IDM_VIEW_FADE_NORMAL = 32779;
constexpr unsigned IDM_VIEW_FADE_LESS = 32780;
constexpr unsigned IDM_VIEW_FADE_NONE = 32781;

/// The Help command that F1 produces; handled by the framework's default.
constexpr unsigned ID_HELP = 57670;
