// The context menu and the command handler.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

namespace {

std::vector<unsigned> Ids(const std::vector<MenuItem>& items) {
    std::vector<unsigned> ids;
    for (const MenuItem& item : items) ids.push_back(item.separator ? 0 : item.id);
    return ids;
}

}  // namespace

TEST_F(InteractTest, TheMenuHasItsEighteenEntriesWithTextsByArea) {
    SetImage(Iota(64));
    host.MoveMouse(HexPoint(3));
    host.RightClick(HexPoint(3));
    ASSERT_EQ(host.PopupMenusShown(), 1);
    const auto& items = host.LastPopupMenu();
    EXPECT_EQ(Ids(items), (std::vector<unsigned>{174, 160, 161, 0, 162, 163, 164, 165, 0, 166, 167,
                                                 168, 169, 170, 173, 0, 171, 172}));
    const std::vector<std::string> texts = {
        "Copy Selection as HEX Block",
        "Copy Selection as HEX String",
        "Copy Selection as ASCII Text",
        "",
        "Delete Selection",
        "Insert HEX Data From Clipboard",
        "Overwrite HEX with Clipboard Data",
        "Edit Bits of First Selected Byte",
        "",
        "Search for HEX starting at Selection",
        "Search for TEXT starting at Selection",
        "Search for TEXT starting at Selection (ignore case)",
        "Search for UNICODE TEXT starting at Selection",
        "Search for UNICODE TEXT starting at Selection (ignore case)",
        "Find Next\tF3",
        "",
        "Scroll Selection Into View",
        "Jump to a Line",
    };
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(items[i].text, texts[i]) << i;
    // At the pointer, in screen coordinates; the selection is not touched.
    EXPECT_EQ(host.LastPopupPoint(), host.ClientToScreen(HexPoint(3)));
    EXPECT_EQ(Sel(), (SelectionState{0, 0, 0}));

    host.MoveMouse(CharPoint(3));
    host.RightClick(CharPoint(3));
    EXPECT_EQ(host.LastPopupMenu()[5].text, "Insert ASCII Data From Clipboard");
    EXPECT_EQ(host.LastPopupMenu()[6].text, "Overwrite ASCII with Clipboard Data");
}

TEST_F(InteractTest, NoMenuWithoutAnImageOrDuringALoadOrSave) {
    host.RightClick(HexPoint(0));
    EXPECT_EQ(host.PopupMenusShown(), 0);
    SetImage(Iota(8));
    view.m_bSaving = true;
    host.RightClick(HexPoint(0));
    view.m_bSaving = false;
    view.m_bLoading = true;
    host.RightClick(HexPoint(0));
    EXPECT_EQ(host.PopupMenusShown(), 0);
    view.m_bLoading = false;
    // It is offered with nothing selected, in bit edit and in the panel.
    Click(OffsetColumn());
    host.RightClick(HexPoint(0));
    Click(HexPoint(1));
    Command(ID_EDIT_BITS);
    host.RightClick(HexPoint(0));
    Command(ID_JUMP_TO_OFFSET);
    host.RightClick(HexPoint(0));
    EXPECT_EQ(host.PopupMenusShown(), 3);
}

TEST_F(InteractTest, InsertAndOverwriteActOnTheAreaCurrentWhenChosen) {
    SetImage(Iota(8));
    host.Clipboard() = "41";
    host.MoveMouse(HexPoint(2));
    Click(HexPoint(2));
    // The menu was built over the hex area; the pointer reaches the
    // character area before the choice is handled.
    host.QueuePopupChoice(ID_OVERWRITE_FROM_CLIPBOARD);
    host.RightClick(HexPoint(2));
    EXPECT_EQ(host.LastPopupMenu()[6].text, "Overwrite HEX with Clipboard Data");
    EXPECT_EQ(Image()[2], 0x41);

    host.Clipboard() = "7E";
    host.PostViewMessage(msg::MouseMove, 0, LParamFromPoint(CharPoint(5)));
    host.PostViewMessage(msg::Command, ID_OVERWRITE_FROM_CLIPBOARD, 0);
    host.RunUntilIdle();
    EXPECT_EQ(Image()[2], '7');
    EXPECT_EQ(Image()[3], 'E');
}

TEST_F(InteractTest, SearchCommandsOpenThePanelWithTheCrossedModes) {
    SetImage(Iota(8));
    const std::pair<unsigned, int> modes[] = {
        {ID_SEARCH_HEX, SEARCH_HEX},
        {ID_SEARCH_TEXT, SEARCH_TEXT},
        {ID_SEARCH_TEXT_NOCASE, SEARCH_TEXT_NOCASE},
        {ID_SEARCH_UNICODE, SEARCH_UNICODE},
        {ID_SEARCH_UNICODE_NOCASE, SEARCH_UNICODE_NOCASE},
        {ID_JUMP_TO_OFFSET, SEARCH_OFFSET},
    };
    for (const auto& [id, mode] : modes) {
        host.QueuePopupChoice(id);
        host.RightClick(HexPoint(0));
        EXPECT_EQ(view.m_nSearchMode, mode) << id;
        EXPECT_TRUE(view.m_bInputPanel);
        EXPECT_EQ(view.m_strPanelMsg, "Ready...");
        EXPECT_EQ(view.m_strInput, "");
        EXPECT_FALSE(host.ScrollBar()->IsWindowEnabled());
        // Choosing again starts afresh.
        host.TypeText("41");
        EXPECT_FALSE(view.m_strInput.empty());
    }
    host.PressKey(vk::Escape);
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
}

TEST_F(InteractTest, ScrollSelectionIntoViewFromTheMenu) {
    SetImage(16 * 1000);
    for (int i = 0; i < 0x125; ++i) host.KeyUp(vk::Right);
    host.QueuePopupChoice(ID_SCROLL_SELECTION_INTO_VIEW);
    host.RightClick(HexPoint(0));
    EXPECT_EQ(view.ScrollPos(), 18);
}
