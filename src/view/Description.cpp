// What assistive technologies are told about the view: its name, and the
// byte at the caret with the selection, or the lines of whatever screen
// covers the bytes, exactly as drawn. The host hears of each change from the
// paint that shows it.
#include "platform/TextLayout.h"
#include "view/Format.h"
#include "view/HexView.h"

using namespace platform;

namespace {

/// Draws on another surface and keeps the visible lines of text drawn, with
/// their surrounding blanks taken off and empty lines left out.
class ShownLines final : public Surface {
public:
    explicit ShownLines(Surface& target) : m_target(target) {}

    void FillSolidRect(const Rect& r, Color c) override { m_target.FillSolidRect(r, c); }
    void FrameRect(const Rect& r, Color c) override { m_target.FrameRect(r, c); }
    void Draw3dRect(const Rect& r, Color a, Color b) override { m_target.Draw3dRect(r, a, b); }
    Color SetTextColor(Color c) override { return m_target.SetTextColor(c); }
    Color SetBkColor(Color c) override { return m_target.SetBkColor(c); }
    BkMode SetBkMode(BkMode m) override { return m_target.SetBkMode(m); }
    Font SelectFont(const Font& f) override { return m_target.SelectFont(f); }
    Size GetTextExtent(const std::string& text) override { return m_target.GetTextExtent(text); }

    int DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) override {
        const bool singleLine = format & dt::SingleLine;
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = singleLine ? text.size() : text.find_first_of("\r\n", start);
            const size_t stop = end == std::string::npos ? text.size() : end;
            Keep(VisibleText(text.substr(start, stop - start), format & dt::NoPrefix));
            start = stop + 1;
        }
        return m_target.DrawTextInRect(text, rect, format);
    }

    const std::string& Text() const { return m_text; }

private:
    void Keep(const std::string& line) {
        const size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos) return;
        if (!m_text.empty()) m_text += '\n';
        m_text += line.substr(first, line.find_last_not_of(' ') - first + 1);
    }

    Surface& m_target;
    std::string m_text;
};

}  // namespace

std::string CHexView::ImageName() const {
    if (m_strFilePath.empty()) return "Bytes of a new file";
    return "Bytes of " + FileNameFromPath(m_strFilePath);
}

std::string CHexView::CaretDescription() const {
    const std::string mode = Format(", edit mode %s %s", m_bCharArea ? "ASCII" : "HEX",
                                    m_bInsertMode ? "INSERT" : "OVERWRITE");
    if (!HasSelectionInImage()) return "Nothing selected" + mode;
    std::string text = Format("Offset 0x%X", unsigned(m_nCaret));
    if (m_nCaret < m_nFileSize) text += Format(", hex %02X", unsigned(m_pData[m_nCaret]));
    const uint32_t count = m_nSelEnd - m_nSelStart + 1;
    text += count == 1 ? std::string(", selected 1 byte")
                       : Format(", selected %u bytes from 0x%X to 0x%X", unsigned(count),
                                unsigned(m_nSelStart), unsigned(m_nSelEnd));
    return text + mode;
}

void CHexView::DrawAndDescribe(Surface& dc) {
    const Screen screen = CurrentScreen();
    ViewDescription now;
    if (screen == Screen::Dump) {
        DrawScreen(dc);
        now = {ImageName(), CaretDescription()};
    } else {
        ShownLines shown(dc);
        DrawScreen(shown);
        if (screen == Screen::Welcome) now = {shown.Text(), ""};
        else now = {ImageName(), shown.Text()};
    }
    // A running load, save or search repaints its progress many times a
    // second: its screen is told once, as it appears, and again when the
    // operation has ended.
    const bool running = IsLoadingOrSaving() || m_bSearching;
    if (now == m_description || (running && screen == m_describedScreen)) return;
    m_description = now;
    m_describedScreen = screen;
    Host().DescriptionChanged(m_description);
}
