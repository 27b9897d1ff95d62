#pragma once

#include <functional>
#include <string>

#include "core/app/colors.h"
#include "core/app/services.h"
#include "core/app/waiting.h"
#include "core/i18n/lang_op.h"
#include "core/mail/helper_library.h"
#include "core/settings/main_op.h"
#include "platform/admin.h"
#include "platform/roots.h"

namespace twk {

// The services the program talks to the user and the outside world through.
struct Services {
    MessageBoxes& messages;
    SaveFileDialog& saveFile;
    FolderPicker& folders;
    UrlOpener& urls;
    HelperLibrary& helper;
    Clock& clock;
};

// Made once by the start procedure (tests make their own); pages receive it by reference.
class AppContext {
public:
    // Settings are saved through writer; without one, straight into the store under roots, with
    // its autostart entry (tests point roots at a temporary tree).
    AppContext(platform::Roots roots, std::string programFolder, std::string userFolder,
               std::string settingsFolder, Services services, SettingsWriter writer = {});

    const platform::Roots roots;
    const std::string programFolder;
    // Where the files written for this user go (platform::userFilesFolder for the real program).
    const std::string userFolder;
    // Where this user's own settings of the program are kept (platform::userSettingsFolder).
    const std::string settingsFolder;
    Services services;
    std::string updateUrl;
    // Who the running user is, for the administrator check; tests give any groups.
    std::function<platform::AdminToken()> adminToken = platform::currentAdminToken;

    MainOp mainOp;
    LangOp langOp;
    ColorRef HighlightColor = 0;
    ColorRef NormalColor = 0;
};

// The context of the program running on this machine: the system's store, the program's and the
// user's folders. Every settings save is waited for by run, as it may wait for the system's
// prompt for an administrator's rights.
AppContext machineContext(Services services, WaitRunner run);

// The start procedure's steps before the main window shows: the update check, the settings, the
// captions, the two caption colours; a report page layout left in the user files folder by an
// earlier version is taken into the settings folder first.
void startUp(AppContext& context);

}  // namespace twk
