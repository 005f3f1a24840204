// What the view tells assistive technologies: its name and the caret's byte
// on the dump, the welcome text, the lines of each panel, once per change.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using platform::ViewDescription;
using platform::vk::Right;

class DescriptionTest : public InteractTest {
protected:
    const ViewDescription& Told() const { return host.Descriptions().back(); }
    size_t TimesTold() const { return host.Descriptions().size(); }
};

TEST_F(DescriptionTest, DumpTellsTheCaretsByteOncePerChange) {
    host.Invalidate();
    host.RunUntilIdle();
    EXPECT_EQ(Told().name.rfind("Welcome to the Bytewren,\nBytewren is", 0), 0u) << Told().name;
    EXPECT_NE(Told().name.find("\nNo file loaded..."), std::string::npos);

    SetImage(Iota(64));
#ifdef _WIN32
    view.m_strFilePath = "C:\\some dir\\data.bin";
#else
    view.m_strFilePath = "/tmp/some dir/data.bin";
#endif
    host.Invalidate();
    host.RunUntilIdle();
    EXPECT_EQ(Told(),
              (ViewDescription{"Bytes of data.bin",
                               "Offset 0x0, hex 00, selected 1 byte, edit mode HEX OVERWRITE"}));

    const size_t told = TimesTold();
    host.MoveMouse(HexPoint(9));  // the status line follows; the caret does not move
    host.Invalidate();
    host.RunUntilIdle();
    EXPECT_EQ(TimesTold(), told);

    host.PressKey(Right);
    EXPECT_EQ(TimesTold(), told + 1);
    EXPECT_EQ(Told().text, "Offset 0x1, hex 01, selected 1 byte, edit mode HEX OVERWRITE");

    host.TypeText("b3");  // the caret moves on past the one selected byte
    EXPECT_EQ(Told().text, "Offset 0x2, hex 02, selected 1 byte, edit mode HEX OVERWRITE");
    host.PressKey(platform::vk::Back);
    EXPECT_EQ(Told().text, "Offset 0x1, hex B3, selected 1 byte, edit mode HEX OVERWRITE");

    host.MoveMouse(CharPoint(0));
    host.PressKey(platform::vk::Insert);
    SelectChars(0x2C, 0x2F);
    EXPECT_EQ(Told().text,
              "Offset 0x2C, hex 2C, selected 4 bytes from 0x2C to 0x2F, "
              "edit mode ASCII INSERT");
    Click(OffsetColumn());
    EXPECT_EQ(Told().text, "Nothing selected, edit mode ASCII INSERT");
}

TEST_F(DescriptionTest, PanelsTellTheirLinesAsShown) {
    SetImage(Iota(64));
    Command(ID_EDIT_BITS);
    EXPECT_EQ(Told().name, "Bytes of a new file");
    EXPECT_EQ(Told().text.rfind(".:BIT EDIT MODE:.\nPress the [ESC] key to Exit.\n", 0), 0u)
        << Told().text;
    EXPECT_NE(Told().text.find("\nType the new bits using the 1 & 0 keys.\n"), std::string::npos);
    host.TypeText("10");
    EXPECT_EQ(Told().text.substr(Told().text.rfind('\n')), "\nNEW BITS: 10");
    host.PressKey(platform::vk::Escape);

    Command(ID_SEARCH_HEX);
    EXPECT_NE(Told().text.find("\nValid HEX formats are FF AA CC or FFAACC.\n"), std::string::npos);
    host.TypeText("2A");
    EXPECT_EQ(Told().text.substr(Told().text.rfind('\n')), "\nTO FIND: 2A");
}

TEST_F(DescriptionTest, RunningSearchIsToldAsItStartsAndEnds) {
    SetImage(std::vector<uint8_t>(8 * 1024 * 1024, 0x11));
    const uint8_t m = 0x4D;
    view.m_image.Overwrite(view.m_nFileSize - 2, &m, 1);
    Command(ID_SEARCH_HEX);
    host.TypeText("4D");
    const size_t told = TimesTold();
    size_t toldWhileRunning = 0;
    host.SetClockStepPerPump(50);  // the panel's progress repaints on every pump
    host.OnPump([&](int) { toldWhileRunning = std::max(toldWhileRunning, TimesTold() - told); });
    host.PressKey(platform::vk::Return);
    host.OnPump(nullptr);
    EXPECT_EQ(toldWhileRunning, 0u);
    EXPECT_EQ(TimesTold(), told + 1);
    EXPECT_NE(Told().text.find("\nFound HEX at Offset: 0x007FFFFE"), std::string::npos)
        << Told().text;
}
