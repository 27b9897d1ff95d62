#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/app/services.h"
#include "core/mail/helper_library.h"

namespace twk::test {

struct ShownBox {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
};

// Records every box and answers from a script (Ok when the script is empty).
class ScriptedMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons) override;
    std::vector<ShownBox> shown;
    std::deque<MsgAnswer> answers;
    // Runs while each box is up, to look at the windows behind it.
    std::function<void()> whileShown;
};

class ScriptedSaveFileDialog : public SaveFileDialog {
public:
    std::string askSaveFile(const std::string& filterName, const std::string& pattern,
                            const std::string& startFolder) override;
    std::string answer;
    int asked = 0;
    std::string lastFilterName, lastPattern, lastStartFolder;
};

class ScriptedFolderPicker : public FolderPicker {
public:
    std::string browseFolder(const std::string& title) override;
    std::string answer;
    std::vector<std::string> titles;
};

class ScriptedUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

class FixedClock : public Clock {
public:
    std::chrono::system_clock::time_point now() override { return time; }
    std::chrono::system_clock::time_point time{std::chrono::seconds(1700000000)};
};

struct SentMail {
    std::string recipient, subject, body, attachment;
    std::string attachmentBytes;  // read at the moment of the call
};

struct DriveInfoAnswer {
    std::int16_t result;
    std::string description;
};

// Records every call; answers SendMailOut with mailResult and drives from a table.
class ScriptedHelperLibrary : public HelperLibrary {
public:
    std::int16_t SendMailOut(const std::string& recipient, const std::string& subject,
                             const std::string& body, const std::string& attachment) override;
    std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) override;

    std::int16_t mailResult = 0;
    std::vector<SentMail> sent;
    std::vector<std::pair<std::string, DriveInfoAnswer>> drives;  // root -> answer
    std::vector<std::string> describedRoots;
};

}  // namespace twk::test
