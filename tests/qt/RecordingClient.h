// Test windows for the Qt hosts: one that records every message it is
// offered (and can consume or change key-downs in pre-translation, as the
// view does), and a dialog that creates such a view when it initialises.
#pragma once

#include <functional>
#include <new>
#include <string>
#include <vector>

#include "app/MainMenu.h"
#include "platform/Constants.h"
#include "platform/DropFiles.h"
#include "platform/MainWindowHost.h"

struct Seen {
    bool preTranslate;  // false: WindowProc
    platform::Message message;
};

class RecordingClient : public platform::WindowClient {
public:
    platform::LResult WindowProc(const platform::Message& m) override {
        seen.push_back({false, m});
        if (m.message == throwOn) throw std::bad_alloc();
        if (m.message == platform::msg::DropFiles) {
            drops.push_back(reinterpret_cast<const platform::DroppedFiles*>(m.wParam)->paths);
        }
        if (m.message == platform::msg::Paint && onPaint) {
            onPaint();
            return 0;
        }
        return host ? host->DefaultProcessing(m) : 0;
    }
    bool PreTranslateMessage(platform::Message& m) override {
        seen.push_back({true, m});
        if (m.message == platform::msg::KeyDown) {
            if (m.wParam == consumeKey) return true;
            if (m.wParam == spaceKey) m.wParam = platform::vk::Space;
        }
        return false;
    }

    /// The messages that reached WindowProc, by number.
    std::vector<platform::Message> Dispatched(unsigned message = 0) const {
        std::vector<platform::Message> out;
        for (const Seen& s : seen) {
            if (!s.preTranslate && (message == 0 || s.message.message == message)) {
                out.push_back(s.message);
            }
        }
        return out;
    }
    /// "D41 C61 U41": key-downs, characters and key-ups that reached
    /// WindowProc, in hexadecimal.
    std::string KeyTrace() const {
        std::string out;
        char buf[16];
        for (const Seen& s : seen) {
            if (s.preTranslate) continue;
            const char* tag = nullptr;
            switch (s.message.message) {
                case platform::msg::KeyDown: tag = "D"; break;
                case platform::msg::Char: tag = "C"; break;
                case platform::msg::KeyUp: tag = "U"; break;
                default: continue;
            }
            std::snprintf(buf, sizeof buf, "%s%s%02X", out.empty() ? "" : " ", tag,
                          unsigned(s.message.wParam));
            out += buf;
        }
        return out;
    }

    platform::ViewHost* host = nullptr;
    std::vector<Seen> seen;
    std::vector<std::vector<std::string>> drops;
    std::function<void()> onPaint;
    platform::WParam consumeKey = 0;  // a key-down PreTranslateMessage consumes
    platform::WParam spaceKey = 0;    // a key-down it passes on as the space key
    unsigned throwOn = 0;             // a message WindowProc fails on
};

/// A main window whose view is a RecordingClient.
class RecordingDialog : public platform::DialogClient {
public:
    const platform::DialogTemplate& Template() const override {
        static const platform::DialogTemplate t = {
            102, "Bytewren", {424, 270}, "MS Shell Dlg", 8, 0, 0, 129, {}};
        return t;
    }
    const platform::MenuBar& Menu() const override { return MainMenu(); }
    bool OnInitDialog(platform::MainWindowHost& h) override {
        mainHost = &h;
        view.host = &h.ViewWindowHost();
        h.ViewWindowHost().CreateViewWindow(view, h.GetClientRect());
        return true;
    }
    platform::LResult WindowProc(const platform::Message& m) override {
        seen.push_back(m);
        if (m.message == throwOn) throw std::bad_alloc();
        return mainHost ? mainHost->DefaultProcessing(m) : 0;
    }
    bool PreTranslateMessage(platform::Message&) override { return false; }

    platform::MainWindowHost* mainHost = nullptr;
    RecordingClient view;
    std::vector<platform::Message> seen;
    unsigned throwOn = 0;  // a message WindowProc fails on
};
