// Where every key reaches: presses and typed characters before dispatch,
// releases in OnKeyUp. ESC, ENTER and BACKSPACE act when pressed; the arrows,
// INSERT, DELETE, F3, F5 and F6 when released; characters are handled and
// then passed on as a space, so the main window never sees them.
#include "view/HexView.h"

using namespace platform;

namespace {

/// The key-press table. True when the press is consumed.
bool HandleKeyPress(CHexView& view, Message& message) {
    switch (message.wParam) {
        case vk::Escape:
            view.LeaveAllModes();
            view.Host().Invalidate();
            return true;
        case vk::Return:
            if (view.m_bBitEdit) view.EndBitEdit();
            if (view.SearchMayStart()) view.Host().PostViewMessage(WM_RUN_SEARCH, 0, 0);
            return true;
        default: break;
    }
    if (view.m_bSearching) {
        // A running search swallows every other key.
        message.wParam = vk::Space;
        return false;
    }
    if (message.wParam == vk::Back) {
        if (view.m_bBitEdit) {
            view.RemoveLastBit();
            return false;
        }
        if (view.m_bInputPanel) {
            view.PanelBackspace();
            return true;
        }
        view.StepCaretBack();
    }
    return false;
}

}  // namespace

bool CHexView::EndsTypedRun(const Message& message) {
    switch (message.message) {
        case msg::KeyDown:
            return message.wParam == vk::Escape || message.wParam == vk::Return ||
                   message.wParam == vk::Back;
        case msg::KeyUp:
            switch (message.wParam) {
                case vk::Left:
                case vk::Up:
                case vk::Right:
                case vk::Down:
                case vk::Insert:
                case vk::Delete:
                case vk::F3:
                case vk::F5:
                case vk::F6: return true;
                default: return false;
            }
        // A printable character may type the next byte of the run.
        case msg::Char: return message.wParam < 0x20 || message.wParam > 0x7E;
        case msg::LButtonDown:
        case msg::RButtonUp:
        case msg::MouseWheel:
        case msg::VScroll:
        case msg::Command:
        case msg::DropFiles:
        case WM_RUN_SEARCH:
        case WM_OPEN_CMDLINE_FILE: return true;
        default: return false;
    }
}

bool CHexView::PreTranslateMessage(Message& message) {
    if (EndsTypedRun(message)) EndTypedRun();
    if (message.message == msg::KeyDown) return HandleKeyPress(*this, message);
    if (message.message == msg::Char) {
        OnCharacter(unsigned(message.wParam));
        message.wParam = ' ';
    }
    return false;
}

void CHexView::OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags) {
    if (m_bSearching) return;
    switch (key) {
        case vk::Left:
        case vk::Up:
        case vk::Right:
        case vk::Down: MoveSelection(key); break;
        case vk::Insert: ToggleInsertMode(); break;
        case vk::Delete: DeleteKey(); break;
        case vk::F3: FindNext(); break;
        case vk::F5: ChangeColumns(-1); break;
        case vk::F6: ChangeColumns(+1); break;
        default: break;
    }
    Host().DefaultProcessing({msg::KeyUp, key, LParam(repeatCount | (flags << 16))});
}
