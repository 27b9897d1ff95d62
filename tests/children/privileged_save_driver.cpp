// Saves as Tarnwick does for the user running it: the protection switch and the options page,
// both opened on the same stored state before either saves, each save going through the settings
// helper at HELPER_PATH (started with pkexec) as the program does for an administrator who is not
// root. Each run flips the protection, the language (English, Deutsch) and "Start with Windows".
// Prints what the user would be told; ends with 0 only when both saves were stored.
// Usage: privileged_save_driver HELPER_PATH
#include <cstdio>
#include <string>

#include "core/app/check_admin.h"
#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/mail/helper_library.h"
#include "core/options/option_controls.h"
#include "core/options/options_store.h"
#include "core/protection/guard_switch.h"
#include "core/settings/main_op.h"
#include "platform/roots.h"

namespace {

class PrintedBoxes : public twk::MessageBoxes {
public:
    twk::MsgAnswer show(const std::string& text, const std::string&, twk::MsgIcon,
                        twk::MsgButtons) override {
        std::printf("box: %s\n", text.c_str());
        return twk::MsgAnswer::Ok;
    }
};

// "Send reports" stays off, so nothing is mailed.
class NoHelperLibrary : public twk::HelperLibrary {
public:
    std::int16_t SendMailOut(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
        return twk::LoadedHelperLibrary::kFailed;
    }
    std::int16_t GetDriveInfoByPath(std::string&, std::string&) override {
        return twk::LoadedHelperLibrary::kFailed;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: privileged_save_driver HELPER_PATH\n");
        return 2;
    }
    if (twk::CheckAdmin::isAdmin() != twk::VbTrue) {
        std::printf("box: You don't have administrator rights!\n");
        return 1;
    }
    const std::string helper = argv[1];
    const std::string programFolder = helper.substr(0, helper.rfind('/'));
    const twk::Regedit::RootKey store(platform::Roots::system().configDir);
    twk::MainOp protection(store, programFolder, twk::helperSettingsWriter(helper));
    twk::MainOp options(store, programFolder, twk::helperSettingsWriter(helper));
    protection.Init();
    options.Init();

    // The protection page: one click on the switch.
    const std::string switchState = protection.isGuard == "1" ? "1" : "0";
    protection.isGuard = twk::guardToggle(switchState)->isGuard;
    const bool guardSaved = protection.Save();
    std::printf("protection %s\n", guardSaved ? "saved" : "not saved");

    // The options page: another language and "Start with Windows" clicked.
    twk::options::OptionsState page =
        twk::options::LoadOptions(options, "Mon;Tue;", {"Deutsch", "English"});
    page.language = options.lang == "Deutsch" ? "English" : "Deutsch";
    twk::options::clickStartWithWindows(page);
    PrintedBoxes boxes;
    NoHelperLibrary noMail;
    const bool optionsSaved =
        twk::options::SaveOptions(page, options, noMail, boxes, twk::LangOp()) ==
        twk::options::SaveResult::Saved;
    if (optionsSaved) {
        // As the page does: the confirmation in the language just stored.
        options.Init();
        twk::LangOp texts;
        texts.Init(options);
        twk::showInformation(boxes, texts.lfo_saved);
    }
    return guardSaved && optionsSaved ? 0 : 1;
}
