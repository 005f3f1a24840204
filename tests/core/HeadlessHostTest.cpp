// The headless host's own behaviour that the view's tests rely on: the
// raster surface, the scroll bar model, the queue, pumping and timers.
#include <gtest/gtest.h>

#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/RasterSurface.h"
#include "platform/TextLayout.h"

using namespace platform;
using headless::Raster;
using headless::RasterSurface;

namespace {
const Color kRed = Rgb(255, 0, 0);
const Color kBlue = Rgb(0, 0, 255);
const Color kBlack = Rgb(0, 0, 0);
const Font kView{"Lucida Console", 100};
const Font kDialog{"MS Shell Dlg", 80};
}  // namespace

TEST(RasterSurface, OpaqueTextFillsExactlyItsExtent) {
    Raster r(100, 40);
    RasterSurface s(&r);
    s.SelectFont(kView);
    s.SetBkColor(kBlue);
    s.SetTextColor(kRed);
    s.DrawTextInRect("AB", {10, 5, 100, 40}, dt::Left);
    EXPECT_EQ(r.Count({10, 5, 26, 20}, kBlue) + r.Count({10, 5, 26, 20}, kRed), 16 * 15);
    EXPECT_GT(r.Count({10, 5, 26, 20}, kRed), 0);
    EXPECT_EQ(r.Count(r.Bounds(), kBlue) + r.Count(r.Bounds(), kRed), 16 * 15);
    EXPECT_EQ(r.At(14, 12), kRed) << "glyph box inside the first cell";
    EXPECT_EQ(r.At(10, 5), kBlue);
}

TEST(RasterSurface, TransparentTextFillsNothing) {
    Raster r(100, 40);
    RasterSurface s(&r);
    s.SetBkMode(BkMode::Transparent);
    s.SetBkColor(kBlue);
    s.SetTextColor(kRed);
    s.DrawTextInRect("A B", {0, 0, 100, 40}, dt::Left);
    EXPECT_EQ(r.Count(r.Bounds(), kBlue), 0);
    EXPECT_EQ(r.Count({8, 0, 16, 15}, kRed), 0) << "a space draws no glyph";
    EXPECT_GT(r.Count({16, 0, 24, 15}, kRed), 0);
}

TEST(RasterSurface, TextIsClippedToItsRect) {
    Raster r(100, 40);
    RasterSurface s(&r);
    s.SetBkColor(kBlue);
    s.DrawTextInRect("ABCDEFGHIJ", {0, 0, 20, 10}, dt::Left);
    EXPECT_EQ(r.Count(r.Bounds(), kBlue) + r.Count(r.Bounds(), kBlack), 100 * 40);
    EXPECT_EQ(r.Count({20, 0, 100, 40}, kBlue), 0);
    EXPECT_EQ(r.Count({0, 10, 100, 40}, kBlue), 0);
}

TEST(RasterSurface, AlignmentLinesAndPrefixes) {
    RasterSurface s(nullptr);
    s.SelectFont(kView);
    s.DrawTextInRect("abc", {0, 0, 100, 50}, dt::Center | dt::VCenter | dt::SingleLine);
    EXPECT_EQ(s.Strings().back().extent, (Rect{38, 17, 62, 32}));
    s.DrawTextInRect("abc", {0, 0, 100, 50}, dt::Right | dt::VCenter | dt::SingleLine);
    EXPECT_EQ(s.Strings().back().extent, (Rect{76, 17, 100, 32}));
    EXPECT_EQ(s.DrawTextInRect("a\nb\r\nc", {0, 0, 100, 50}, dt::Left), 45);
    EXPECT_EQ(s.DrawTextInRect("a\nb", {0, 0, 100, 50}, dt::SingleLine), 15);
    EXPECT_EQ(platform::VisibleText("1 && 0", false), "1 & 0");
    EXPECT_EQ(platform::VisibleText("&Open&", false), "Open");
    EXPECT_EQ(platform::VisibleText("a&b", true), "a&b");
    EXPECT_EQ(platform::VisibleText(std::string("\t\x01x\x7f", 4), true), "x");
}

TEST(RasterSurface, FramesAreOnePixelAndThreeDFramesTakeTwoColours) {
    Raster r(20, 20);
    RasterSurface s(&r);
    s.FrameRect({2, 2, 10, 8}, kRed);
    EXPECT_EQ(r.Count(r.Bounds(), kRed), 2 * 8 + 2 * 4);
    EXPECT_EQ(r.At(3, 3), kBlack);

    Raster q(20, 20);
    RasterSurface t(&q);
    t.Draw3dRect({2, 2, 10, 8}, kRed, kBlue);
    EXPECT_EQ(q.At(2, 2), kRed);
    EXPECT_EQ(q.At(8, 2), kRed);
    EXPECT_EQ(q.At(9, 2), kBlue) << "right edge";
    EXPECT_EQ(q.At(2, 7), kBlue) << "bottom edge";
    EXPECT_EQ(q.At(2, 6), kRed);
    EXPECT_EQ(t.BkColor(), kBlue);
}

TEST(RasterSurface, FixedMetricsPerFont) {
    RasterSurface s(nullptr);
    s.SelectFont(kView);
    EXPECT_EQ(s.GetTextExtent("0"), (Size{8, 15}));
    s.SelectFont(kDialog);
    EXPECT_EQ(s.GetTextExtent("XX"), (Size{12, 13}));
    EXPECT_EQ(s.GetTextExtent(""), (Size{0, 13}));
}

TEST(RasterSurface, FillSolidRectSetsTheBackgroundColour) {
    Raster r(10, 10);
    RasterSurface s(&r);
    s.FillSolidRect({0, 0, 5, 5}, kRed);
    EXPECT_EQ(s.BkColor(), kRed);
    EXPECT_EQ(r.Count(r.Bounds(), kRed), 25);
}

TEST(HeadlessScrollBar, ClampsLikeThePlatform) {
    headless::HeadlessScrollBar bar({0, 0, 18, 100});
    bar.SetScrollRange(0, 10, true);
    EXPECT_EQ(bar.SetScrollPos(15, true), 0);
    EXPECT_EQ(bar.GetScrollPos(), 10);
    bar.SetScrollPos(-3, true);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollPos(8, true);
    bar.SetScrollRange(0, 4, true);
    EXPECT_EQ(bar.GetScrollPos(), 4);
}

namespace {

/// Records what reaches it.
class Recorder : public WindowClient {
public:
    LResult WindowProc(const Message& m) override {
        dispatched.push_back(m);
        return 0;
    }
    bool PreTranslateMessage(Message& m) override {
        seen.push_back(m.message);
        if (m.message == msg::KeyDown && m.wParam == vk::Escape) return true;
        if (m.message == msg::KeyDown && m.wParam == 'Q') m.wParam = vk::Space;
        return false;
    }
    std::vector<Message> dispatched;
    std::vector<unsigned> seen;
};

}  // namespace

TEST(HeadlessHost, KeysArePreTranslatedThenTranslatedIntoCharacters) {
    headless::HeadlessHost host;
    Recorder r;
    host.CreateViewWindow(r, {0, 0, 100, 100});
    host.PressKey('A');
    host.PressKey(vk::Escape);
    host.PressCtrl('v');
    host.PressKey('Q');
    std::vector<std::pair<unsigned, WParam>> got;
    for (const Message& m : r.dispatched) {
        if (m.message != msg::Paint) got.emplace_back(m.message, m.wParam);
    }
    const std::vector<std::pair<unsigned, WParam>> expected = {
        {msg::KeyDown, 'A'},
        {msg::Char, 'a'},
        {msg::KeyUp, 'A'},
        {msg::KeyUp, vk::Escape},
        {msg::KeyDown, vk::Control},
        {msg::KeyDown, 'V'},
        {msg::Char, 22},
        {msg::KeyUp, 'V'},
        {msg::KeyUp, vk::Control},
        {msg::KeyDown, vk::Space},
        {msg::Char, ' '},
        {msg::KeyUp, 'Q'},
    };
    EXPECT_EQ(got, expected);
}

TEST(HeadlessHost, PumpDispatchesWaitingMessagesAndReportsQuit) {
    headless::HeadlessHost host;
    Recorder r;
    host.CreateViewWindow(r, {0, 0, 100, 100});
    host.ValidateAll();
    host.PostViewMessage(1225, 0, 0);
    EXPECT_TRUE(host.PumpWaitingMessages());
    ASSERT_EQ(r.dispatched.size(), 1u);
    EXPECT_EQ(r.dispatched[0].message, 1225u);
    host.PostQuit();
    EXPECT_FALSE(host.PumpWaitingMessages());
    EXPECT_TRUE(host.Quitting());
    EXPECT_EQ(host.QueuedMessages(), 1u) << "the quit message is posted again";
}

TEST(HeadlessHost, TimersFireOnTheManualClock) {
    headless::HeadlessHost host;
    Recorder r;
    host.CreateViewWindow(r, {0, 0, 100, 100});
    host.ValidateAll();
    host.SetTimer(10, 100);
    host.AdvanceClock(99);
    host.RunUntilIdle();
    EXPECT_TRUE(r.dispatched.empty());
    host.AdvanceClock(250);  // overdue timers deliver one message
    host.RunUntilIdle();
    ASSERT_EQ(r.dispatched.size(), 1u);
    EXPECT_EQ(r.dispatched[0].message, msg::Timer);
    EXPECT_EQ(r.dispatched[0].wParam, 10u);
    host.KillTimer(10);
    host.AdvanceClock(1000);
    host.RunUntilIdle();
    EXPECT_EQ(r.dispatched.size(), 1u);
}

TEST(HeadlessHost, ClipboardIsEightBitTextUpToItsFirstNul) {
    headless::HeadlessHost host;
    std::string all;
    for (int c = 1; c < 256; ++c) all += char(c);
    EXPECT_TRUE(host.WriteClipboardText(all));
    EXPECT_EQ(std::string_view(host.ReadClipboardText().value()), all);
    host.Clipboard() = std::string("ab\0cd", 5);
    EXPECT_EQ(std::string_view(host.ReadClipboardText().value()), "ab");
    host.SetClipboardAvailable(false);
    EXPECT_EQ(host.ReadClipboardText(), std::nullopt);
    EXPECT_FALSE(host.WriteClipboardText("x"));
}
