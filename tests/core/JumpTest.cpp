// Jumping to a typed or pasted hexadecimal offset.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

class JumpTest : public InteractTest {
protected:
    void Jump(const std::string& typed) {
        Command(ID_JUMP_TO_OFFSET);
        host.TypeText(typed);
        host.PressKey(vk::Return);
    }
    void ExpectJumpedTo(uint32_t offset) {
        EXPECT_EQ(Sel(), (SelectionState{offset, offset, offset}));
        EXPECT_FALSE(view.m_bInputPanel);
        EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
        EXPECT_EQ(view.m_nSearchMode, SEARCH_OFFSET);
    }
};

TEST_F(JumpTest, TypedOffsetsInEitherFormSelectTheByteAndScrollToIt) {
    SetImage(0x30000);
    Command(ID_JUMP_TO_OFFSET);
    host.TypeText("1f320");
    EXPECT_EQ(view.m_strInput, "1F320");
    host.PressKey(vk::Return);
    ExpectJumpedTo(0x1F320);
    EXPECT_EQ(view.ScrollPos(), 0x1F32);
    EXPECT_EQ(view.m_strPanelMsg, "Ready...") << "a jump reports nothing";

    Jump("00 01 F3 20x");  // the x is not taken
    ExpectJumpedTo(0x1F320);
    EXPECT_EQ(view.m_strInput, "0001F320") << "kept without its spaces";

    // At most eleven characters.
    Command(ID_JUMP_TO_OFFSET);
    host.TypeText("00 00 00 10 1");
    EXPECT_EQ(view.m_strInput, "00 00 00 10");
    host.PressKey(vk::Return);
    ExpectJumpedTo(0x10);

    // Empty: offset 0.
    Jump("");
    ExpectJumpedTo(0);
}

TEST_F(JumpTest, OffsetsPastTheEndSelectTheLastByte) {
    SetImage(100);
    Jump("FFFF");
    ExpectJumpedTo(99);
    Jump("64");
    ExpectJumpedTo(99);
    Jump("63");
    ExpectJumpedTo(99);
    // More than 32 bits is past the end too, not wrapped to 0.
    Jump("100000000");
    ExpectJumpedTo(99);
}

TEST_F(JumpTest, AnEmptyImageLeavesNothingSelected) {
    SetImage(0);
    host.QueuePopupChoice(ID_JUMP_TO_OFFSET);
    host.RightClick(HexPoint(0));
    ASSERT_TRUE(view.m_bInputPanel);
    host.TypeText("12");
    EXPECT_EQ(view.m_strInput, "") << "nothing can be typed without a byte selected";
    host.PressKey(vk::Return);
    ExpectJumpedTo(NONE);
}

TEST_F(JumpTest, PastesAcceptOnlyHexPatternsAndKeepElevenCharacters) {
    SetImage(0x100);
    Command(ID_JUMP_TO_OFFSET);
    host.Clipboard() = "1a 2B";
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, "1a 2B") << "pasted text keeps its case";
    for (const char* bad : {"ABC", "12\r\n34", "zz"}) {
        host.Clipboard() = bad;
        host.PressCtrl('v');
        EXPECT_EQ(view.m_strInput, "1a 2B") << bad;
    }
    host.Clipboard() = "00 11 22 33 44";
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, "00 11 22 33");
    host.Clipboard() = "00 1a";
    host.PressCtrl('v');
    host.PressKey(vk::Return);
    ExpectJumpedTo(0x1A);
}

TEST_F(JumpTest, F3RepeatsTheJumpAndEscapeCancelsIt) {
    SetImage(0x100);
    Jump("2 0");
    ExpectJumpedTo(0x20);
    host.PressKey(vk::Right);
    host.PressKey(vk::Right);
    host.PressKey(vk::F3);
    ExpectJumpedTo(0x20);

    Command(ID_JUMP_TO_OFFSET);
    host.TypeText("40");
    host.PressKey(vk::Back);
    EXPECT_EQ(view.m_strInput, "4");
    host.PressKey(vk::Escape);
    ExpectJumpedTo(0x20);
}
