// The services of the main window and the application run.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Menu.h"
#include "platform/ViewHost.h"
#include "platform/WindowClient.h"

namespace platform {

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual Rect GetClientRect() const = 0;
    /// The host of the main window's one child view.
    virtual ViewHost& ViewWindowHost() = 0;
    virtual void SetIcon(int iconId, bool big) = 0;
    /// Runs a dialog built from a template modally; returns its result.
    virtual int RunModalDialog(const DialogTemplate& dialog) = 0;
    /// Default processing of a main-window message (a system close request
    /// ends the modal run).
    virtual LResult DefaultProcessing(const Message& message) = 0;
};

/// A modal dialog the application runs: its template and menu, its
/// initialisation, then messages.
class DialogClient : public WindowClient {
public:
    virtual const DialogTemplate& Template() const = 0;
    virtual const MenuBar& Menu() const = 0;
    virtual bool OnInitDialog(MainWindowHost& host) = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual void InitCommonControls() = 0;
    /// Builds the dialog's window, initialises it and runs its modal loop
    /// until it closes; returns the dialog's result (-1 if it could not run).
    virtual int RunModal(DialogClient& dialog) = 0;
};

}  // namespace platform
