#pragma once

#include "core/app/services.h"

namespace twk::win32 {

// Every box has the page the user works in as its owner, or none before any page shows.
class Win32MessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

class Win32SaveFileDialog : public SaveFileDialog {
public:
    std::string askSaveFile(const std::string& filterName, const std::string& pattern,
                            const std::string& startFolder) override;
};

class Win32FolderPicker : public FolderPicker {
public:
    std::string browseFolder(const std::string& title) override;
};

class Win32UrlOpener : public UrlOpener {
public:
    void openUrl(const std::string& url) override;
};

}  // namespace twk::win32
