#include "core/i18n/lang_op.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/settings/general.h"
#include "core/settings/main_op.h"
#include "core/settings/regedit.h"
#include "platform/roots.h"
#include "platform/text.h"

namespace twk {
namespace {

using K = LangOp::Key;

constexpr const char* kReportSection = "frmReport";

const K kKeys[] = {
    {"lfo_menu1", "frmOptions", &LangOp::lfo_menu1},
    {"lfo_menu2", "frmOptions", &LangOp::lfo_menu2},
    {"lfo_lang", "frmOptions", &LangOp::lfo_lang},
    {"lfo_save_rep", "frmOptions", &LangOp::lfo_save_rep},
    {"lfo_dir_rep", "frmOptions", &LangOp::lfo_dir_rep},
    {"lfo_dir_quar", "frmOptions", &LangOp::lfo_dir_quar},
    {"lfo_strt_win", "frmOptions", &LangOp::lfo_strt_win},
    {"lfo_save_changes", "frmOptions", &LangOp::lfo_save_changes},
    {"lfo_send_rep", "frmOptions", &LangOp::lfo_send_rep},
    {"lfo_recip", "frmOptions", &LangOp::lfo_recip},
    {"lfo_shed", "frmOptions", &LangOp::lfo_shed},
    {"lfo_ED", "frmOptions", &LangOp::lfo_ED},
    {"lfo_EW", "frmOptions", &LangOp::lfo_EW},
    {"lfo_EM", "frmOptions", &LangOp::lfo_EM},
    {"lfo_time", "frmOptions", &LangOp::lfo_time},
    {"lfo_week", "frmOptions", &LangOp::lfo_week},
    {"lfo_month", "frmOptions", &LangOp::lfo_month},
    {"lfo_weekname", "frmOptions", &LangOp::lfo_weekname},
    {"lfg_pagename", "frmGuard", &LangOp::lfg_pagename},
    {"lfg_enableguard", "frmGuard", &LangOp::lfg_enableguard},
    {"lfg_notdevices", "frmGuard", &LangOp::lfg_notdevices},
    {"lfi_homepage", "frmInfo", &LangOp::lfi_homepage},
    {"lfi_mail", "frmInfo", &LangOp::lfi_mail},
    {"lfm_protection", "frmMain", &LangOp::lfm_protection},
    {"lfm_reports", "frmMain", &LangOp::lfm_reports},
    {"lfm_options", "frmMain", &LangOp::lfm_options},
    {"lfr_menu1", kReportSection, &LangOp::lfr_menu1},
    {"lfr_menu2", kReportSection, &LangOp::lfr_menu2},
    {"lfr_sort", kReportSection, &LangOp::lfr_sort},
    {"lfr_save", kReportSection, &LangOp::lfr_save},
    {"lfr_send", kReportSection, &LangOp::lfr_send},
    {"lfr_search", kReportSection, &LangOp::lfr_search},
    {"lfsr_pagename", "frmSendReport", &LangOp::lfsr_pagename},
    {"lfsr_recip", "frmSendReport", &LangOp::lfsr_recip},
    {"lfsr_send", "frmSendReport", &LangOp::lfsr_send},
    {"lff_pagename", "frmFeedback", &LangOp::lff_pagename},
    {"lff_sender", "frmFeedback", &LangOp::lff_sender},
    {"lff_theme", "frmFeedback", &LangOp::lff_theme},
    {"lff_theme_text", "frmFeedback", &LangOp::lff_theme_text},
    {"lff_msg", "frmFeedback", &LangOp::lff_msg},
    {"lff_send", "frmFeedback", &LangOp::lff_send},
};

constexpr const char* kNotificationsSection = "Notifications";
constexpr const char* kTagline = "USB storage protection";

const LangOp::DesignText kDesignTexts[] = {
    {"lfm_tagline", "frmMain", kTagline, &LangOp::lfm_tagline},
    {"lfi_tagline", "frmInfo", kTagline, &LangOp::lfi_tagline},
    {"lfi_version", "frmInfo", "Version", &LangOp::lfi_version},
    {"lfn_device", kNotificationsSection, "Device connected", &LangOp::lfn_device},
    {"lfn_device_text", kNotificationsSection, "{name} ({description}) on {pc}, user {user}",
     &LangOp::lfn_device_text},
    {"lfn_virus", kNotificationsSection, "File moved into quarantine", &LangOp::lfn_virus},
    {"lfn_virus_text", kNotificationsSection, "{file} from {device}", &LangOp::lfn_virus_text},
    {"lfn_burst", kNotificationsSection, "New reports", &LangOp::lfn_burst},
    {"lfn_burst_text", kNotificationsSection,
     "Devices connected: {devices}, files moved into quarantine: {files}", &LangOp::lfn_burst_text},
};

bool isLastReportKey(const K* key) {
    const K* next = key + 1;
    return std::string(key->section) == kReportSection &&
           (next == std::end(kKeys) || std::string(next->section) != kReportSection);
}

}  // namespace

LangOp::LangOp() {
    for (const DesignText& text : designTexts()) this->*text.property = text.english;
}

std::span<const LangOp::DesignText> LangOp::designTexts() { return kDesignTexts; }

const LangOp::Key* LangOp::keysBegin() { return std::begin(kKeys); }
const LangOp::Key* LangOp::keysEnd() { return std::end(kKeys); }

std::string languagesFolder(const std::string& programFolder) {
    return platform::joinPath(programFolder, "languages");
}

bool isLanguageName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos &&
           name.find("..") == std::string::npos && name.find('\0') == std::string::npos;
}

void LangOp::Init(const MainOp& settings) {
    const std::string folder = languagesFolder(settings.programFolder());
    if (General::DirExists(folder) != VbTrue) return;
    if (settings.lang.empty()) return;
    const std::string file = platform::joinPath(folder, settings.lang + ".twl");
    if (isLanguageName(settings.lang) && General::FileExists(file) == VbTrue)
        LoadCaptions(file);
    else
        LoadCaptions(platform::joinPath(folder, "English.twl"));
}

void LangOp::LoadCaptions(const std::string& file) {
    std::vector<platform::ProfileKey> wanted;
    for (const K* key = keysBegin(); key != keysEnd(); ++key)
        wanted.push_back({key->section, key->name});
    for (const DesignText& text : designTexts()) wanted.push_back({text.section, text.name});
    const std::vector<std::string> values =
        Regedit::ReadIniStrings(wanted, file, kLanguageFileLimit);
    auto value = values.begin();
    for (const K* key = keysBegin(); key != keysEnd(); ++key, ++value) {
        this->*key->property = *value;
        if (isLastReportKey(key) && reportCaptionsHook) reportCaptionsHook(*this);
    }
    for (const DesignText& text : designTexts()) {
        this->*text.property = value->empty() ? text.english : *value;
        ++value;
    }
}

int saveCaptionLeft(int sendCaptionLeftTwips, const std::string& saveCaption, int textWidthTwips,
                    int gapTwips) {
    const int byCharacters =
        sendCaptionLeftTwips - 130 * static_cast<int>(platform::characterCount(saveCaption));
    if (saveCaption.empty()) return byCharacters;
    return std::min(byCharacters, sendCaptionLeftTwips - textWidthTwips - gapTwips);
}

}  // namespace twk
