// The application shell: the command-line rule, the menu, the main window's
// forwarding, sizing and closing, and the About box.
#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/MainApp.h"
#include "app/MainDlg.h"
#include "app/MainMenu.h"
#include "app/Resources.h"
#include "hosts/headless/HeadlessHost.h"
#include "rules/FileArgument.h"

using namespace platform;

TEST(CommandLine, TakesTheRestAfterTheQuotedProgramPath) {
    struct Case {
        const char* line;
        std::optional<std::string> file;
    } cases[] = {
        {"\"C:\\bw.exe\" \"C:\\my files\\a.bin\"", "C:\\my files\\a.bin"},
        {"\"C:\\bw.exe\" C:\\my files\\a.bin", "C:\\my files\\a.bin"},
        {"\"C:\\bw.exe\"  a.bin", " a.bin"},
        {"\"/usr/bin/bytewren\" \"x\" \"y\"", "x y"},
        {"C:\\bw.exe a.bin", std::nullopt},
        {"\"C:\\bw.exe\" ", std::nullopt},
        {"\"C:\\bw.exe\"", std::nullopt},
        {"", std::nullopt},
        {"\" a.bin", std::nullopt},  // the pair must start after the first character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileArgumentFromCommandLine(c.line), c.file) << c.line;
    }
}

// Arguments arrive split and unquoted by the shell: a quote belongs to the name.
TEST(CommandLine, ArgumentsAreTakenAsTheShellGaveThem) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> file;
    } cases[] = {
        {{}, std::nullopt},
        {{""}, std::nullopt},
        {{"my\"file.bin"}, "my\"file.bin"},
        {{"\"quoted.bin\""}, "\"quoted.bin\""},
        {{" a.bin"}, " a.bin"},
        {{"my", "file.bin"}, "my file.bin"},
        {{"a", "", "b"}, "a  b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileArgument(CommandLine::FromArguments(c.arguments)), c.file)
            << ::testing::PrintToString(c.arguments);
    }
    // The same text as one Windows line follows the Windows rule.
    EXPECT_EQ(FileArgument(CommandLine::FromLine("\"C:\\bw.exe\" \"my file.bin\"")), "my file.bin");
}

TEST(MainMenu, HasThePopupsItemsAndIdsInOrder) {
    const MenuBar& menu = MainMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, "&File");
    EXPECT_EQ(menu[1].text, "&View");
    EXPECT_EQ(menu[2].text, "&Help");
    std::vector<std::pair<std::string, unsigned>> items;
    for (const auto& popup : menu) {
        for (const auto& item : popup.items) {
            items.emplace_back(item.separator ? "-" : item.text, item.id);
        }
    }
    const std::vector<std::pair<std::string, unsigned>> expected = {
        {"&Open", 32771},
        {"&New", 32774},
        {"&Reload File", 32778},
        {"Save &As", 32773},
        {"&Save", 32772},
        {"&Decrease Column\tF5", 32776},
        {"&Increase Column\tF6", 32775},
        {"-", 0},
        {"&Normal Character Fading", 32779},
        {"&Less Character Fading", 32780},
        {"N&o Character Fading", 32781},
        {"&About...", 32777},
    };
    EXPECT_EQ(items, expected);
}

TEST(MainDlg, TemplateAndAboutBoxContents) {
    CMainDlg dlg;
    EXPECT_EQ(dlg.Template().caption, "Bytewren");
    EXPECT_EQ(dlg.Template().sizeDlu, (Size{424, 270}));
    EXPECT_EQ(dlg.Template().fontFace, "MS Shell Dlg");
    EXPECT_EQ(dlg.Template().menuId, IDR_MAIN_MENU);
    EXPECT_TRUE(dlg.Template().style & ws::ThickFrame);

    const DialogTemplate& about = CAboutDlg::Template();
    EXPECT_EQ(about.caption, "About...");
    ASSERT_EQ(about.controls.size(), 5u);
    EXPECT_EQ(about.controls[0].kind, DialogControl::Kind::Icon);
    EXPECT_EQ(about.controls[0].iconId, IDR_MAINFRAME);
    EXPECT_EQ(about.controls[1].text, "Bytewren Version 1.0.0.5");
    EXPECT_TRUE(about.controls[1].noPrefix);
    EXPECT_EQ(about.controls[3].text, "&OK");
    EXPECT_EQ(about.controls[3].id, 1);
    EXPECT_TRUE(about.controls[3].defaultButton);
    EXPECT_FALSE(about.controls[2].text.empty());
    EXPECT_FALSE(about.controls[4].text.empty());
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.OpenDialog(dlg)); }
    headless::HeadlessHost host{640, 400};
    CMainDlg dlg;
};

TEST_F(MainWindowTest, InitialisationSetsBothIconsAndCreatesTheView) {
    EXPECT_EQ(host.Icons().at(true), 1);
    EXPECT_EQ(host.Icons().at(false), 1);
    EXPECT_TRUE(host.WindowExists());
    EXPECT_EQ(dlg.m_hexView.m_strBaseTitle, "Bytewren");
    EXPECT_NE(dlg.m_hexView.m_wndScrollBar, nullptr);
}

TEST_F(MainWindowTest, ResizingRefitsTheViewAndItsScrollBar) {
    host.ResizeMainWindow(500, 333);
    EXPECT_EQ(host.GetClientRect(), (Rect{0, 0, 500, 333}));
    EXPECT_EQ(host.ScrollBar()->WindowRect(), (Rect{482, 0, 500, 333}));
    host.ResizeMainWindow(20, 10);  // no minimum size
    EXPECT_EQ(host.ScrollBar()->WindowRect(), (Rect{2, 0, 20, 10}));
}

TEST_F(MainWindowTest, ViewCommandsAreForwarded) {
    CHexView& view = dlg.m_hexView;
    host.ChooseMenuCommand(IDM_VIEW_FADE_NONE);
    EXPECT_EQ(view.m_nFadeMode, 0);
    host.ChooseMenuCommand(IDM_VIEW_FADE_LESS);
    EXPECT_EQ(view.m_nFadeMode, 2);
    host.ChooseMenuCommand(IDM_VIEW_FADE_NORMAL);
    EXPECT_EQ(view.m_nFadeMode, 1);

    view.m_image.Allocate(uint32_t(10));
    host.ChooseMenuCommand(IDM_VIEW_INCREASECOLUMN);
    EXPECT_EQ(view.m_nBytesPerRow, 17);
    host.ChooseMenuCommand(IDM_VIEW_DECREASECOLUMN);
    host.ChooseMenuCommand(IDM_VIEW_DECREASECOLUMN);
    EXPECT_EQ(view.m_nBytesPerRow, 15);
}

TEST_F(MainWindowTest, AboutRunsTheAboutBoxModally) {
    host.ChooseMenuCommand(IDM_HELP_ABOUT);
    ASSERT_EQ(host.ModalDialogsRun().size(), 1u);
    EXPECT_EQ(host.ModalDialogsRun()[0].caption, "About...");
}

TEST_F(MainWindowTest, CloseRequestLeavesAllModesThenCloses) {
    CHexView& view = dlg.m_hexView;
    view.m_bLoading = true;
    view.m_bSearching = true;
    view.m_bInputPanel = true;
    host.RequestClose();
    host.RunUntilIdle();
    EXPECT_FALSE(view.m_bLoading);
    EXPECT_FALSE(view.m_bSearching);
    EXPECT_FALSE(view.m_bInputPanel);
    EXPECT_TRUE(host.DialogClosed());
}

TEST_F(MainWindowTest, OtherSystemCommandsDoNotEndModes) {
    dlg.m_hexView.m_bLoading = true;
    dlg.WindowProc({msg::SysCommand, 0xF020, 0});  // minimise
    EXPECT_TRUE(dlg.m_hexView.m_bLoading);
    EXPECT_FALSE(host.DialogClosed());
}

TEST(MainApp, RunsTheMainWindowOnceAndEnds) {
    headless::HeadlessHost host;
    CMainApp app;
    EXPECT_FALSE(app.InitInstance(host));
    EXPECT_TRUE(host.CommonControlsInitialised());
    EXPECT_EQ(host.Icons().at(true), 1);
}
