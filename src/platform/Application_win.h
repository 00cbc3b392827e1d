#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "base/WinApi.h"

class TForm;

// The one application object: its title captions the message and error boxes; it owns the
// windows (the first one created is the main window) and runs the message loop.
class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Creates a window (hidden) and keeps it until DestroyForms or the end of the application.
    template <class T, class... Args>
    T& CreateForm(Args&&... args) {
        static_assert(std::is_base_of_v<TForm, T>);
        auto form = std::make_unique<T>(std::forward<Args>(args)...);
        T& result = *form;
        forms_.push_back(std::move(form));
        return result;
    }

    // The first window of the given class, or nullptr.
    template <class T>
    T* FindForm() const {
        for (const auto& form : forms_) {
            if (auto* match = dynamic_cast<T*>(form.get())) {
                return match;
            }
        }
        return nullptr;
    }

    const std::vector<std::unique_ptr<TForm>>& Forms() const { return forms_; }
    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }
    HWND MainWindowHandle() const;

    // The raw command line the main window's show handler reads; tests replace it.
    const std::string& CommandLine() const { return commandLine_; }
    void SetCommandLine(const std::string& commandLine) { commandLine_ = commandLine; }

    // Shows the main window (its show handler runs first) and processes messages until
    // Terminate. Keyboard navigation (Tab) is handled for every window of the application.
    void Run();
    // Ends the message loop (now, or as soon as Run starts).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Runs the messages that are waiting, then returns (tests use it).
    void ProcessMessages();
    // Destroys the windows, last created first.
    void DestroyForms();

    // Tab and the other dialog keys for the window the message is for; true when consumed.
    bool HandleDialogKeys(MSG& message);

private:
    std::string title_;
    std::string commandLine_;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool terminated_ = false;
};

// The application object of the process (created by WinMain or a test before any window).
TApplication& Application();
// The same, or nullptr before one exists or after it is gone.
TApplication* CurrentApplication();
