#pragma once

#include "core/app/services.h"

namespace twk {

class QtMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

class QtSaveFileDialog : public SaveFileDialog {
public:
    std::string askSaveFile(const std::string& filterName, const std::string& pattern,
                            const std::string& startFolder) override;
};

class QtFolderPicker : public FolderPicker {
public:
    std::string browseFolder(const std::string& title) override;
};

// Opens http, https and mailto addresses in the user's programs; ignores anything else.
class QtUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string& url) override;
};

}  // namespace twk
