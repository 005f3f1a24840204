// Resource and command numbers of the main window, its menu and the About box.
// Plain #defines: the Windows resource compiler reads this header too, and it
// understands nothing else.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128  // the program icon
#define IDR_MAIN_MENU 129
#define IDC_STATIC (-1)
#define IDOK_BUTTON 1

#define IDM_FILE_OPEN 32771
#define IDM_FILE_SAVE 32772
#define IDM_FILE_SAVEAS 32773
#define IDM_FILE_NEW 32774
#define IDM_VIEW_INCREASECOLUMN 32775
#define IDM_VIEW_DECREASECOLUMN 32776
#define IDM_HELP_ABOUT 32777
#define IDM_FILE_RELOAD 32778
#define IDM_VIEW_FADE_NORMAL 32779
#define IDM_VIEW_FADE_LESS 32780
#define IDM_VIEW_FADE_NONE 32781
