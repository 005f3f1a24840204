#include "view/HexView.h"

#include <cstring>

#include "rules/FileArgument.h"

using namespace platform;

CHexView::CHexView() { ResetColors(); }

CHexView::~CHexView() = default;

void CHexView::ResetColors() {
    m_clrAccent = Rgb(0, 255, 0);
    m_clrBackground = Rgb(0, 0, 0);
    m_clrPlainText = Rgb(128, 128, 128);
    m_clrPanelTitle = Rgb(75, 75, 75);
    m_clrPanelFrame = Rgb(40, 40, 40);
    m_clrPanelFill = Rgb(20, 20, 20);
    m_clrSelCharText = Rgb(240, 240, 75);
    m_clrCaretBack = Rgb(175, 75, 75);
    m_clrSelBack = Rgb(75, 75, 75);
    m_clrStatusFrame = Rgb(40, 40, 40);
    m_clrStatusBack = Rgb(20, 20, 20);
    m_clrStatusText = Rgb(0, 255, 0);
    m_clrStatusBorder = Rgb(0, 0, 0);
    m_nFadeMode = 1;
    // The constructor calls this before Create has given the view a host.
    if (m_pHost && m_pHost->WindowExists()) m_pHost->Invalidate();
}

bool CHexView::Create(ViewHost& host) {
    m_pHost = &host;
    m_image.SetAllocator(host.GetAllocator());
    m_history.SetMemory(host.GetAllocator().TemporaryMemory());

    ResetColors();
    m_strBaseTitle = host.GetMainCaption();

    DiscardImage({.pointer = true, .pendingDigit = true});
    m_bCharArea = false;
    m_bInsertMode = false;
    m_bLoading = m_bSaving = m_bInputPanel = m_bSearching = false;
    m_nSearchMode = SEARCH_HEX;
    DiscardBitEdit();

    const Rect parent = host.GetParentClientRect();
    if (!host.CreateViewWindow(*this, parent)) return false;

    const Rect client = host.GetClientRect();
    m_wndScrollBar = host.CreateScrollBar(
        Rect{client.right - SCROLLBAR_WIDTH, client.top, client.right, client.bottom},
        SCROLLBAR_ID);

    m_nBytesPerRow = 16;
    m_font = CreatePointFont(100, "Lucida Console");
    RecalcMetrics();

    // The open message is the view's own, so the view applies the app's rule.
    if (auto path = FileArgument(host.StartupCommandLine())) {
        m_strFilePath = *path;
        host.PostViewMessage(WM_OPEN_CMDLINE_FILE, 0, 0);
    }
    return true;
}

void CHexView::SetFadeMode(int mode) {
    m_nFadeMode = mode;
    if (Host().WindowExists()) Host().Invalidate();
}

void CHexView::FitToParent() {
    if (!Host().WindowExists()) return;
    const Rect parent = Host().GetParentClientRect();
    Host().MoveWindow(parent, false);
    if (m_wndScrollBar) {
        m_wndScrollBar->MoveWindow(
            Rect{parent.Width() - SCROLLBAR_WIDTH, 0, parent.Width(), parent.Height()}, false);
    }
    Host().Invalidate();
}

void CHexView::LeaveAllModes() {
    Host().KillTimer(SEARCH_TIMER_ID);
    m_bLoading = false;
    m_bSaving = false;
    m_bInputPanel = false;
    m_bSearching = false;
    DiscardBitEdit();  // enables the scroll bar that every panel disables
}

CHexView::Screen CHexView::CurrentScreen() const {
    if (IsLoadingOrSaving()) return Screen::Progress;
    if (m_bBitEdit) return Screen::BitEdit;
    if (m_bInputPanel) return Screen::InputPanel;
    return HasBytes() ? Screen::Dump : Screen::Welcome;
}

bool CHexView::PanelShown() const {
    const Screen screen = CurrentScreen();
    return screen != Screen::Dump && screen != Screen::Welcome;
}

void CHexView::DiscardBitEdit() {
    m_bBitEdit = false;
    std::memset(m_szBits, 0, sizeof m_szBits);
    if (m_wndScrollBar) m_wndScrollBar->EnableWindow(true);
}

void CHexView::ShowError(const std::string& text) {
    Host().ShowMessageBox(text, "", mb::Ok | mb::IconError);
}
