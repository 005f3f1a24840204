// CHexView: the one custom window of Bytewren. It owns the image of the file,
// the selection and caret, every mode, the palette, the font, the scroll bar
// and the cached geometry. Its members are implemented by concern in
// src/view, src/document and src/commands; each section below names its file.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/ByteImage.h"
#include "document/EditHistory.h"
#include "platform/Constants.h"
#include "platform/DropFiles.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Message.h"
#include "platform/ScrollBar.h"
#include "platform/Shapes.h"
#include "platform/Surface.h"
#include "platform/ViewHost.h"
#include "platform/WindowClient.h"
#include "rules/Offset.h"
#include "rules/SearchMode.h"

namespace files {
class OutputFile;
}

/// Private messages of the view: one search or jump, and the file named on
/// the command line.
constexpr unsigned WM_RUN_SEARCH = platform::msg::User + 200;
constexpr unsigned WM_OPEN_CMDLINE_FILE = platform::msg::User + 201;

/// The scroll bar's control id and the width of the strip it occupies.
constexpr int SCROLLBAR_ID = 150;
constexpr int SCROLLBAR_WIDTH = 18;
/// The search timer, the view's only one: repaints the search panel while a
/// search runs.
constexpr unsigned SEARCH_TIMER_ID = 10;
constexpr unsigned SEARCH_TIMER_MS = 100;

class CHexView : public platform::WindowClient {
public:
    CHexView();
    ~CHexView() override;
    CHexView(const CHexView&) = delete;
    CHexView& operator=(const CHexView&) = delete;

    // ---- The record -------------------------------------------------------
    platform::Color m_clrAccent;
    platform::Color m_clrBackground;
    platform::Color m_clrPlainText;
    platform::Color m_clrPanelTitle;
    platform::Color m_clrPanelFrame;
    platform::Color m_clrPanelFill;
    platform::Color m_clrSelCharText;
    platform::Color m_clrCaretBack;
    platform::Color m_clrSelBack;
    platform::Color m_clrStatusFrame;
    platform::Color m_clrStatusBack;
    platform::Color m_clrStatusText;
    platform::Color m_clrStatusBorder;
    int32_t m_nFadeMode = 1;
    std::string m_strFilePath;
    /// m_strFilePath was a symbolic link when it was loaded: only then does
    /// a save of that path follow a link.
    bool m_bPathIsLink = false;
    std::string m_strBaseTitle;
    std::string m_strInput;
    std::string m_strPanelMsg;
    bool m_bInsertMode = false;
    bool m_bCharArea = false;
    bool m_bLoading = false;
    bool m_bSaving = false;
    /// A save is writing into the file itself: set from its first write
    /// until it completes or has put the old bytes back. LeaveAllModes leaves
    /// it alone, so putting the old bytes back cannot be cancelled.
    bool m_bWritingInPlace = false;
    /// LoadFile or SaveToFile is still running: set from the moment it
    /// starts reading or writing until it returns. ESC clears m_bLoading or
    /// m_bSaving at once, but the loop holds the image until its next check,
    /// and messages dispatched by the same pump must not use it meanwhile.
    bool m_bFileLoopRunning = false;
    int32_t m_nFileProgress = 0;
    bool m_bBitEdit = false;
    bool m_bInputPanel = false;
    bool m_bSearching = false;
    int32_t m_nSearchMode = SEARCH_HEX;
    double m_dSearchProgress = 0.0;
    std::unique_ptr<platform::ScrollBar> m_wndScrollBar;
    /// The image and its edits (document/ByteImage.h). m_pData and
    /// m_nFileSize read its block and length: they change only with it.
    ByteImage m_image{platform::DefaultAllocator()};
    const uint8_t* const& m_pData = m_image.Data();
    const uint32_t& m_nFileSize = m_image.Size();
    /// The edits of the image that Undo takes back and Redo takes again;
    /// it lives with the image, from a load or New to the next.
    EditHistory m_history;
    platform::Point m_ptMouse{-1, -1};
    int32_t m_nDragAnchor = -1;
    int32_t m_nHoverOffset = -1;
    uint32_t m_nSelStart = 0;
    uint32_t m_nSelEnd = 0;
    uint32_t m_nCaret = 0;
    char m_chPendingDigit = 0;
    char m_szBits[10] = {};
    platform::Font m_font;
    int32_t m_nBytesPerRow = 16;
    int32_t m_nPageRows = 0;
    int32_t m_nHexLeft = 0;
    int32_t m_nHexWidth = 0;
    int32_t m_nCharLeft = 0;
    int32_t m_nCharWidth = 0;
    /// The height of every row of the image, capped at INT_MAX: kept by
    /// RecalcMetrics for the tests only, nothing in the program reads it.
    int32_t m_nContentHeight = 0;
    int32_t m_nCellWidth = 0;
    int32_t m_nRowHeight = 0;

    // ---- Creation, palette and modes (view/HexView.cpp) --------------------
    /// Creates the window over the main window's client area and sets every
    /// default; the host stands in for the parent window.
    ///
    /// Every member but ResetColors (which the constructor calls) and those
    /// that only read the record needs Create first: every host and test
    /// calls it before anything else, so none checks for a missing host.
    /// Create keeps the host even when the window cannot be made; members
    /// that need the window itself check WindowExists.
    bool Create(platform::ViewHost& host);
    void ResetColors();
    void SetFadeMode(int mode);
    void FitToParent();
    /// Ends loading, saving, bit edit, the input panel and a running search.
    void LeaveAllModes();
    /// Ends bit edit without storing and enables the scroll bar again.
    void DiscardBitEdit();
    platform::ViewHost& Host() const { return *m_pHost; }

    /// The screens a paint can draw, each covering the whole of DumpRect.
    enum class Screen { Welcome, Dump, Progress, BitEdit, InputPanel };
    /// The screen the modes choose, in their order of precedence: a load or
    /// save, bit edit, the search / offset panel, then the dump (the welcome
    /// screen without bytes).
    Screen CurrentScreen() const;
    /// True while a load or save runs, until its loop has returned (a
    /// cancelled in-place save included, until its file holds the old bytes
    /// again): the progress panel is shown and the image is out of reach.
    bool IsLoadingOrSaving() const { return m_bLoading || m_bSaving || m_bFileLoopRunning; }
    /// True while a load, save, input panel or search keeps file commands out.
    bool IsBusy() const { return IsLoadingOrSaving() || m_bInputPanel || m_bSearching; }
    /// False while a load or save fills or writes the image, or a search
    /// scans it: every edit, paste and delete is refused then, since the
    /// running loop holds on to the image between its pumps.
    bool ImageMayChange() const { return !IsLoadingOrSaving() && !m_bSearching; }
    /// True while a panel covers the dump (progress, bit edit, search /
    /// offset): the keys meant for the dump's selection are not taken.
    bool PanelShown() const;
    /// True while the search / offset panel is shown and no search runs:
    /// ENTER may start one.
    bool SearchMayStart() const { return m_bInputPanel && !m_bSearching; }
    /// Pointer presses, moves and releases act only on the dump itself.
    bool AcceptsPointer() const { return CurrentScreen() == Screen::Dump; }
    /// True when an image with at least one byte is present.
    bool HasBytes() const { return m_pData != nullptr && m_nFileSize != 0; }

    // ---- Messages (view/MessageMap.cpp, view/KeyRouting.cpp) ---------------
    platform::LResult WindowProc(const platform::Message& message) override;
    /// Key presses and typed characters before dispatch: ESC, ENTER and
    /// BACKSPACE act here, characters go to OnCharacter and on as a space.
    bool PreTranslateMessage(platform::Message& message) override;
    /// The key-release table: arrows, INSERT, DELETE, F3, F5, F6; nothing
    /// at all while a search runs.
    void OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags);
    /// Whether the message is an action that ends a run of typed bytes:
    /// every key, click, scroll and command that acts, and every character
    /// that cannot be typed into the image.
    static bool EndsTypedRun(const platform::Message& message);

    // ---- Geometry and scrolling (view/Geometry.cpp) ------------------------
    void RecalcMetrics();
    void ChangeColumns(int delta);
    /// Where a client point lies, by HitTest's arithmetic but without
    /// recording the area.
    struct PointLocation {
        enum Area { None, Hex, Char } area = None;
        int64_t row = -1;  // image row, the scroll position included
        int64_t col = -1;  // column within the row
        int offset = -1;   // the existing byte there, or -1
    };
    PointLocation LocatePoint(platform::Point pt) const;
    /// The offset of the byte under a client point, or -1. Also records the
    /// area the point lies in (m_bCharArea).
    int HitTest(platform::Point pt);
    /// A scroll bar request (sb:: code); the thumb's position is read from
    /// the scroll bar, whose range may exceed the message's 16 bits.
    void OnVScroll(unsigned code, platform::ScrollBar* scrollBar);
    /// Puts image row `row` at the top (clamped by the scroll bar) and
    /// repaints the whole view.
    void ScrollToRow(uint32_t row);
    int ScrollPos() const { return m_wndScrollBar ? m_wndScrollBar->GetScrollPos() : 0; }

    // ---- The edit primitives (document/Buffer.cpp) -------------------------
    bool InsertBytes(uint32_t position, const uint8_t* bytes, uint32_t count);
    void OverwriteBytes(uint32_t position, const uint8_t* bytes, uint32_t count);
    void DeleteSelection();
    /// A growing edit could not get its memory: tells the user that the
    /// image was not changed (the caller has changed nothing).
    void ReportAllocFailure();
    /// What DiscardImage forgets besides the image, selection and caret:
    /// the drag and the hovered byte, and a half-typed byte.
    struct DiscardAlso {
        bool pointer = false;
        bool pendingDigit = false;
    };
    /// Frees the image and puts the selection and caret on byte 0, as a new
    /// or empty image has them (no message, no repaint).
    void DiscardImage(DiscardAlso also);

    // ---- Undo and redo (document/Undo.cpp) ---------------------------------
    /// Ctrl+Z: takes the last edit back; Ctrl+Y or Ctrl+Shift+Z: takes the
    /// next one again. Each restores the image and the selection and caret
    /// of its time. Refused silently while the image may not change, in bit
    /// edit and the panel, and with nothing to take.
    void Undo();
    void Redo();
    /// The selection and caret as the history keeps them.
    EditHistory::Selection SelectionNow() const;
    /// Ends a run of typed bytes: every action but typing does.
    void EndTypedRun() { m_history.Seal(SelectionNow()); }
    /// True unless the row of the selection's start lies outside the rows
    /// the dump shows whole.
    bool SelectionVisible() const;

    // ---- Painting (view/Paint.cpp) -----------------------------------------
    /// Draws CurrentScreen into one off-screen buffer of DumpRect's size
    /// (DrawAndDescribe) and copies it to the window; draws nothing when the
    /// buffer cannot be made.
    void OnPaint();
    /// The search timer repaints the whole view; every timer then gets
    /// default processing.
    void OnTimer(unsigned id);
    void DrawScreen(platform::Surface& dc);
    /// The client area without the scroll bar strip: what every paint covers.
    platform::Rect DumpRect() const;
    /// Draws text into rect with dt:: flags, clipped to rect.
    static int DrawString(platform::Surface& dc, const std::string& text,
                          const platform::Rect& rect, unsigned format);
    /// Width and height of text in dc's current font.
    static platform::Size MeasureString(platform::Surface& dc, const std::string& text);

    // ---- What assistive technologies are told (view/Description.cpp) -----
    /// "Bytes of NAME", the name of the image shown.
    std::string ImageName() const;
    /// The byte at the caret, the selection and the edit mode: "Offset 0x2E,
    /// hex B3, selected 1 byte, edit mode HEX OVERWRITE".
    std::string CaretDescription() const;
    /// Draws CurrentScreen into dc, then tells the host the view's
    /// description if it changed: on the dump the image's name and the
    /// caret, on the welcome screen its text as the name, on the other
    /// screens the image's name and their lines of text.
    void DrawAndDescribe(platform::Surface& dc);

    // ---- The dump (view/DrawDump.cpp, view/Welcome.cpp, view/CellColors.cpp)
    /// The dump with its status line, or the welcome screen without bytes.
    void DrawDump(platform::Surface& dc);
    /// The welcome text and "No file loaded..." into rect; resets the caption.
    void DrawWelcome(platform::Surface& dc, const platform::Rect& rect);
    /// How strongly an unselected byte of the given value is tinted:
    /// 0 to 179 by m_nFadeMode (1 normal, 2 less, anything else none).
    int FadeLevel(uint8_t value) const;
    /// The colours of one byte's hexadecimal and character cells.
    struct CellColors {
        platform::Color hexText;
        platform::Color hexBack;
        platform::Color charText;
        platform::Color charBack;
        bool selected = false;  // the character cell is filled with charBack
    };
    CellColors ColorsOfByte(uint32_t offset, uint8_t value) const;

    // ---- The status line (view/StatusLine.cpp) -----------------------------
    /// The status line's strip at the bottom of DumpRect.
    platform::Rect StatusLineRect() const;
    /// The strip describing the byte under m_ptMouse.
    void DrawStatusLine(platform::Surface& dc);

    // ---- Loading and saving (document/Load.cpp, document/Save.cpp) ---------
    /// The step of loads and saves: the bytes read, written, copied aside or
    /// put back between two progress updates and pauses (PauseBetweenSteps).
    /// The file layer itself reads and writes a MiB per system call.
    static constexpr uint32_t CHUNK_SIZE = 4096;
    /// Reads the file at path into a new image, replacing the old one, with
    /// progress and cancel (ESC or a close request clears m_bLoading). Tells
    /// the user why when it fails; refuses silently while busy.
    bool LoadFile(const std::string& path);
    /// Writes the whole image to path without ever leaving it half written:
    /// the target keeps its old bytes unless the save completes. Refuses
    /// silently while busy or when there are no bytes.
    bool SaveToFile(const std::string& path);

    // ---- Copies left by killed saves (document/InterruptedSaves.cpp) -------
    /// Tells the user about copies of path's old contents that killed saves
    /// left behind (kept until a save of the file completes).
    void ReportInterruptedSaves(const std::string& path);

    // ---- The File menu, the command line, drops (document/FileCommands.cpp)
    /// The File menu's handlers; each refuses silently while busy.
    bool OnFileOpen();
    bool OnFileSaveAs();
    bool OnFileSave();
    bool OnFileReload();
    void OnFileNew();
    /// WM_OPEN_CMDLINE_FILE: loads m_strFilePath, forgetting it on failure.
    platform::LResult OnOpenCmdLineFile();
    /// msg::DropFiles: loads the first dropped file, then default processing.
    platform::LResult OnDropFiles(const platform::Message& message);

    // ---- The pause of long operations (document/Pump.cpp) ------------------
    /// How a long operation goes on after a pause.
    enum class AfterPause { Continue, Cancelled, Quitting };
    /// The pause a load, save or search makes between two steps, once it has
    /// stored its progress: dispatches every waiting message (ESC and close
    /// requests among them), then tells Quitting once the program quits,
    /// Cancelled once `running` (the operation's m_bLoading, m_bSaving or
    /// m_bSearching) is clear, Continue otherwise. What a cancel or a quit
    /// does is each loop's own rule.
    AfterPause PauseBetweenSteps(const bool& running);

    // ---- The caption's file name (document/FileName.cpp) -------------------
    /// The last component of a path (LastPathComponent).
    static std::string FileNameFromPath(const std::string& path);

    // ---- The progress panel (document/ProgressPanel.cpp) -------------------
    /// Progress repaints happen only for work larger than this.
    static constexpr uint32_t PROGRESS_MIN_SIZE = 0x100000;
    /// The loading / saving panel with its progress bar.
    void DrawProgressPanel(platform::Surface& dc);
    /// The whole percentage of done out of total, truncated.
    static int32_t FileProgressPercent(uint64_t done, uint64_t total);
    /// After a chunk that did not finish a load or save: for work over
    /// PROGRESS_MIN_SIZE bytes, stores a changed percentage and repaints.
    void UpdateFileProgress(uint64_t done, uint64_t total);

    // ---- Selection, pointer and arrows (view/Selection.cpp) ----------------
    /// True when an image exists and m_nSelStart <= m_nSelEnd < m_nFileSize.
    bool HasSelectionInImage() const;
    void OnLButtonDown(unsigned flags, platform::Point point);
    /// Records the pointer and the byte under it, refreshes the status strip
    /// and extends an open drag.
    void OnMouseMove(unsigned flags, platform::Point point);
    void OnLButtonUp(unsigned flags, platform::Point point);
    /// Selects from the drag anchor to the hovered byte (both inside the
    /// image); the caret stays where the button went down.
    void UpdateDragSelection();
    /// Scrolls a third of a page per message, whatever the delta's size.
    void OnMouseWheel(unsigned flags, int delta, platform::Point screenPoint);
    platform::LResult OnSetCursor(const platform::Message& message);
    /// Moves the whole selection one byte or one row, only when all of it
    /// stays inside the image; returns whether it moved.
    bool MoveSelection(unsigned arrowKey);
    /// Puts the row of m_nSelStart at the top of the view.
    void ScrollSelectionIntoView();

    // ---- Keyboard editing (view/Typing.cpp) --------------------------------
    /// A character message addressed to the view, before it is dispatched:
    /// control shortcuts, bit digits, panel input or typing into the image.
    void OnCharacter(unsigned ch);
    /// Types one printable character at the caret (both areas, both modes).
    void TypeCharacter(char ch);
    /// BACKSPACE outside bit edit and the panel: the caret one byte back.
    void StepCaretBack();
    void ToggleInsertMode();
    /// DELETE released: removes the selection unless a mode is in the way.
    void DeleteKey();

    // ---- Bit edit (view/BitEdit.cpp) ---------------------------------------
    /// Enters bit edit for the first selected byte; refused without one and
    /// while the image may not change.
    void BeginBitEdit();
    void TypeBit(char ch);
    void RemoveLastBit();
    /// Stores the eight typed bits (when complete) and leaves bit edit; does
    /// nothing at all while the image may not change.
    void EndBitEdit();
    /// "0100 0001" for 0x41.
    static std::string FormatBinary(uint8_t byte);
    /// The bit edit screen.
    void DrawBitEditPanel(platform::Surface& dc);

    // ---- Command dispatch (commands/CommandDispatch.cpp) -------------------
    /// The command hook: context-menu commands, then the base handling.
    bool OnCommand(platform::WParam wParam, platform::LParam lParam);
    /// Opens the search or jump-to-offset panel afresh in the given mode.
    void OpenInputPanel(int searchMode);
    /// Shows the panel as it stands, with "Ready..." as its message.
    void ShowInputPanel();

    // ---- The context menu (commands/ContextMenu.cpp) -----------------------
    /// The eighteen entries of the context menu, in their order.
    std::vector<platform::MenuItem> ContextMenuItems() const;
    /// Shows the context menu at the pointer, unless a load or save runs or
    /// there is no image.
    void OnRButtonUp(unsigned flags, platform::Point point);

    // ---- Clipboard (commands/Clipboard.cpp) --------------------------------
    /// The clipboard as 8-bit text; an empty text leaves it alone.
    void WriteClipboardText(std::string_view text);
    /// The clipboard's text, in the allocator's temporary memory; throws
    /// std::bad_alloc when it cannot be held.
    std::optional<std::pmr::string> ReadClipboardText();
    /// The selection as "%02X " per byte.
    void CopyAsHexString();
    /// The selection as lines of m_nBytesPerRow bytes counted from its start.
    void CopyAsHexBlock();
    /// The selected bytes without their zero bytes.
    void CopyAsAsciiText();
    /// Inserts clipboard data (characters or hex pairs by the entry area) in
    /// front of the selection, which then covers both. Refused while the
    /// image may not change.
    void PasteInsert();
    /// Writes clipboard data over the bytes from the selection start, never
    /// growing the image; the selection then covers exactly what was written.
    /// Refused while the image may not change.
    void PasteOverwrite();

    // ---- Typing into the panel (commands/PanelInput.cpp) -------------------
    /// A printable character typed while the panel is shown.
    void PanelTypeChar(char ch);
    /// BACKSPACE while the panel is shown: drops the last input character.
    void PanelBackspace();
    /// Ctrl+V while the panel is shown: the clipboard text becomes the input
    /// (unchanged when the text cannot be read or held).
    void PanelPaste();

    // ---- The search / offset panel's screen (commands/InputPanel.cpp) ------
    /// The search or jump-to-offset screen for m_nSearchMode.
    void DrawInputPanel(platform::Surface& dc);

    // ---- Search and jump (commands/Search.cpp) -----------------------------
    /// F3 or Find Next: the last search (or jump) again, one byte further.
    void FindNext();
    /// WM_RUN_SEARCH: one search, or the jump of SEARCH_OFFSET.
    platform::LResult OnRunSearch(platform::WParam wParam, platform::LParam lParam);
    /// The jump to an offset: selects the typed offset, clamped to the last
    /// byte.
    void JumpToOffset();
    /// The first start offset at or after start where pattern lies wholly in
    /// data, or NO_OFFSET. Scans in blocks and pumps messages between them;
    /// gives up (NO_OFFSET) when m_bSearching is cleared, the program quits
    /// or the image changes. With foldCase, A-Z in data match as a-z.
    uint32_t FindBytes(const uint8_t* pattern, uint32_t length, const uint8_t* data, uint32_t size,
                       uint32_t start, bool foldCase);

private:
    /// An application message box: the given text, the error icon, OK
    /// (view/HexView.cpp).
    void ShowError(const std::string& text);
    /// Undo (back) or Redo (document/Undo.cpp).
    void StepThroughHistory(bool back);

    /// Puts the file of a save that did not complete back as it was, with
    /// the progress panel shown and messages pumped when pump is set (ESC and
    /// close requests cannot stop it); then tells the user failure, if any,
    /// and where the old bytes are kept if they could not be put back
    /// (document/Save.cpp).
    void UndoSave(files::OutputFile& file, bool pump, const char* failure);
    /// A save failed: puts the file back, tells the user why, ends saving.
    bool EndFailedSave(files::OutputFile& file, const char* failure);

    platform::ViewHost* m_pHost = nullptr;
    /// The description last told to the host, and the screen it was of.
    platform::ViewDescription m_description;
    Screen m_describedScreen = Screen::Welcome;
};
