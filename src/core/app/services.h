#pragma once

#include <chrono>
#include <string>

namespace twk {

enum class MsgIcon { Error, Information, Question };
enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };

// Modal message boxes. The Qt implementation shows real boxes; tests script the answers.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(const std::string& text, const std::string& title, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

// The system's save-file dialog; answers the chosen path or empty text when cancelled.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    virtual std::string askSaveFile(const std::string& filterName, const std::string& pattern,
                                    const std::string& startFolder) = 0;
};

// The system's folder picker; answers the chosen folder or empty text when cancelled.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    virtual std::string browseFolder(const std::string& title) = 0;
};

// Opens a web address in the user's browser. Implementations accept only http, https and
// mailto addresses.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const std::string& url) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() = 0;
};

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::now();
    }
};

// Every box the program shows has this title, apart from the update question.
inline constexpr const char* kAppTitle = "Tarnwick";

// The program's two kinds of one-button message: wrong input or missing rights, confirmations.
inline void showError(MessageBoxes& boxes, const std::string& text) {
    boxes.show(text, kAppTitle, MsgIcon::Error, MsgButtons::Ok);
}
inline void showInformation(MessageBoxes& boxes, const std::string& text) {
    boxes.show(text, kAppTitle, MsgIcon::Information, MsgButtons::Ok);
}

// True for the addresses the program may hand to the browser.
bool isOpenableAddress(const std::string& url);
bool isWebAddress(const std::string& url);

}  // namespace twk
