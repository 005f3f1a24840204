// The main window on Windows: a modeless dialog built from its template in
// the program's resources, run by a modal loop of our own so that the view
// sees every message addressed to it before the dialog's own key handling
// (IsDialogMessage) does. All of the dialog's messages go to the core's
// window procedure; its default processing is the dialog's.
#pragma once

#include <windows.h>

#include <string>

#include "hosts/win32/Win32ViewHost.h"
#include "platform/MainWindowHost.h"

namespace win32host {

class MainDialogHost final : public platform::MainWindowHost {
public:
    MainDialogHost(platform::DialogClient& dialog, HINSTANCE instance,
                   platform::CommandLine commandLine);
    ~MainDialogHost() override;
    MainDialogHost(const MainDialogHost&) = delete;
    MainDialogHost& operator=(const MainDialogHost&) = delete;

    /// Creates the dialog's window from its template and initialises it;
    /// false when the template cannot be loaded.
    bool Open();
    /// Runs the modal loop until the dialog ends; returns its result (-1
    /// when the loop ended on WM_QUIT, which is posted again).
    int Exec();
    /// Destroys the window; every service then acts as for a window that no
    /// longer exists.
    void Destroy();

    /// One message taken from the queue: offered to the view's and the
    /// dialog's pre-translation, then to the dialog manager, then
    /// translated and dispatched.
    void ProcessMessage(MSG& message);
    /// Processes every waiting message; false once the program is quitting
    /// (WM_QUIT seen, and posted again) or the dialog has ended.
    bool PumpWaitingMessages();

    HWND Window() const { return m_window; }
    bool Ended() const { return m_ended; }
    const platform::CommandLine& CommandLine() const { return m_commandLine; }
    platform::Font WindowFont() const;
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    HINSTANCE Instance() const { return m_instance; }

    // ---- platform::MainWindowHost ----
    platform::Rect GetClientRect() const override;
    platform::ViewHost& ViewWindowHost() override { return m_view; }
    void SetIcon(int iconId, bool big) override;
    int RunModalDialog(const platform::DialogTemplate& dialog) override;
    /// The dialog's own processing; its OK and Cancel commands end the run.
    platform::LResult DefaultProcessing(const platform::Message& message) override;

private:
    static INT_PTR CALLBACK InitialDialogProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnInitDialog(HWND window);
    /// While minimised: the icon centred on its erased background.
    void PaintIcon();
    bool PreTranslate(MSG& message);
    void EndDialog(int result);

    platform::DialogClient& m_dialog;
    HINSTANCE m_instance;
    platform::CommandLine m_commandLine;
    Win32ViewHost m_view;
    HWND m_window = nullptr;
    WNDPROC m_dialogProc = nullptr;  // the dialog class's procedure
    HICON m_bigIcon = nullptr;
    bool m_ended = false;
    int m_result = -1;
};

}  // namespace win32host
