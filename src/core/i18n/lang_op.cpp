#include "core/i18n/lang_op.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "core/reports/date_list.h"
#include "core/settings/general.h"
#include "core/settings/main_op.h"
#include "core/settings/regedit.h"
#include "platform/reasons.h"
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

using T = LangOp::OwnText;

const T kOwnTexts[] = {
    {"lfm_tagline", "frmMain", kTagline, &LangOp::lfm_tagline},
    {"lfm_locale", "frmMain", "", &LangOp::lfm_locale},
    {"lfm_mnu_main", "frmMain", "Main page", &LangOp::lfm_mnu_main},
    {"lfm_mnu_info", "frmMain", "Info", &LangOp::lfm_mnu_info},
    {"lfm_mnu_feedback", "frmMain", "Feedback", &LangOp::lfm_mnu_feedback},
    {"lfm_mnu_exit", "frmMain", "Exit", &LangOp::lfm_mnu_exit},
    {"lfm_noadmin", "frmMain", "You don't have administrator rights!", &LangOp::lfm_noadmin},
    {"lfm_newversion", "frmMain", "New version Tarnwick %1 is avialable! Go to the homepage?",
     &LangOp::lfm_newversion},
    {"lfm_newversion_title", "frmMain", "New Version", &LangOp::lfm_newversion_title},
    {"lfm_spk_home", "frmMain", "Home page", &LangOp::lfm_spk_home},
    {"lfm_spk_info", "frmMain", "Information", &LangOp::lfm_spk_info},
    {"lfm_spk_close", "frmMain", "Close", &LangOp::lfm_spk_close},
    {"lfi_tagline", "frmInfo", kTagline, &LangOp::lfi_tagline},
    {"lfi_version", "frmInfo", "Version", &LangOp::lfi_version},
    {"lfi_ok", "frmInfo", "Ok", &LangOp::lfi_ok},
    {"lfo_wrongmail", "frmOptions", "E-mail is wrong!", &LangOp::lfo_wrongmail},
    {"lfo_testrefused", "frmOptions", "The e-mail is wrong! Check the data!",
     &LangOp::lfo_testrefused},
    {"lfo_wrongtime", "frmOptions", "Time is wrong!", &LangOp::lfo_wrongtime},
    {"lfo_notsaved", "frmOptions",
     "The options could not be saved. Check that you may change the settings.",
     &LangOp::lfo_notsaved},
    {"lfo_saved", "frmOptions", "Options is saved!", &LangOp::lfo_saved},
    {"lfo_lang_unshown", "frmOptions",
     "The texts of %1 cannot be shown: this system's language for non-Unicode programs lacks "
     "their letters. The English texts are shown.",
     &LangOp::lfo_lang_unshown},
    {"lfo_dir_rep_title", "frmOptions", "Choose a directory for reports",
     &LangOp::lfo_dir_rep_title},
    {"lfo_dir_quar_title", "frmOptions", "Choose a directory for quarantines files",
     &LangOp::lfo_dir_quar_title},
    {"lfg_notsaved", "frmGuard",
     "The protection setting could not be saved. Check that you may change the settings.",
     &LangOp::lfg_notsaved},
    {"lfg_spk_up", "frmGuard", "Scroll up", &LangOp::lfg_spk_up},
    {"lfg_spk_down", "frmGuard", "Scroll down", &LangOp::lfg_spk_down},
    {"lfr_alldates", kReportSection, kAllDates.data(), &LangOp::lfr_alldates},
    {"lfr_choose", kReportSection, "Choose date", &LangOp::lfr_choose},
    {"lfr_csvfile", kReportSection, "CSV file ", &LangOp::lfr_csvfile},
    {"lfr_overwrite", kReportSection, "File is exists, do you want overwrite file?",
     &LangOp::lfr_overwrite},
    {"lfr_saved", kReportSection, "Saving report is complete!", &LangOp::lfr_saved},
    {"lfr_notsaved", kReportSection, "The report could not be saved to:", &LangOp::lfr_notsaved},
    {"lfr_problems", kReportSection, "Some reports could not be read:", &LangOp::lfr_problems},
    {"lfr_more", kReportSection, "... and %1 more", &LangOp::lfr_more},
    {"lfr_notregular", kReportSection, "is not a regular file", &LangOp::lfr_notregular},
    {"lfr_toolarge", kReportSection, "is too large to be read", &LangOp::lfr_toolarge},
    {"lfr_notopened", kReportSection, "could not be opened (%1)", &LangOp::lfr_notopened},
    {"lfr_notread", kReportSection, "could not be read (%1)", &LangOp::lfr_notread},
    {"lfr_denied", kReportSection, "Permission denied", &LangOp::lfr_denied},
    {"lfr_nofolder", kReportSection, "the folder could not be created", &LangOp::lfr_nofolder},
    {"lfr_nofolder_long", kReportSection, "the folder could not be created: its name is too long",
     &LangOp::lfr_nofolder_long},
    {"lfr_nofolder_system", kReportSection,
     "the folder could not be created: no folder is made inside a system folder",
     &LangOp::lfr_nofolder_system},
    {"lfr_folder_unread", kReportSection, "the folder could not be read",
     &LangOp::lfr_folder_unread},
    {"lfr_col_pc", kReportSection, "PC", &LangOp::lfr_col_pc},
    {"lfr_col_user", kReportSection, "User", &LangOp::lfr_col_user},
    {"lfr_col_time", kReportSection, "Time", &LangOp::lfr_col_time},
    {"lfr_col_action", kReportSection, "Action", &LangOp::lfr_col_action},
    {"lfr_col_source", kReportSection, "Source path", &LangOp::lfr_col_source},
    {"lfr_col_dest", kReportSection, "Destination path", &LangOp::lfr_col_dest},
    {"lfr_col_device", kReportSection, "Device", &LangOp::lfr_col_device},
    {"lfr_col_name", kReportSection, "Name", &LangOp::lfr_col_name},
    {"lfr_col_desc", kReportSection, "Description", &LangOp::lfr_col_desc},
    {"lfr_col_path", kReportSection, "Path", &LangOp::lfr_col_path},
    {"lfr_col_manuf", kReportSection, "Manufacturer", &LangOp::lfr_col_manuf},
    {"lfr_col_service", kReportSection, "Service", &LangOp::lfr_col_service},
    {"lfr_col_enum", kReportSection, "Enumerator", &LangOp::lfr_col_enum},
    {"lfr_col_hwid", kReportSection, "Hardware ID", &LangOp::lfr_col_hwid},
    {"lfr_col_serial", kReportSection, "Long serial", &LangOp::lfr_col_serial},
    {"lfsr_invalid", "frmSendReport", "Invalid recipient!", &LangOp::lfsr_invalid},
    {"lfsr_sent", "frmSendReport", "Your report has been sent!", &LangOp::lfsr_sent},
    {"lfsr_notsent", "frmSendReport", "The report is not sent, check the data!",
     &LangOp::lfsr_notsent},
    {"lfsr_notwritten", "frmSendReport",
     "The report could not be written, so it was not sent:", &LangOp::lfsr_notwritten},
    {"lff_needsender", "frmFeedback", "Input valid e-mail!", &LangOp::lff_needsender},
    {"lff_needmsg", "frmFeedback", "Input your message for us!", &LangOp::lff_needmsg},
    {"lff_sent", "frmFeedback", "Your message has been sent!", &LangOp::lff_sent},
    {"lff_notsent", "frmFeedback", "The message is not sent, check the data!",
     &LangOp::lff_notsent},
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
    for (const OwnText& text : ownTexts()) this->*text.property = text.english;
}

std::span<const LangOp::OwnText> LangOp::ownTexts() { return kOwnTexts; }

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
    const std::string english = platform::joinPath(folder, "English.twl");
    if (isLanguageName(settings.lang) && General::FileExists(file) == VbTrue)
        LoadCaptions(file, english);
    else
        LoadCaptions(english);
}

void LangOp::LoadCaptions(const std::string& file, const std::string& fallback) {
    std::vector<platform::ProfileKey> wanted;
    for (const K* key = keysBegin(); key != keysEnd(); ++key)
        wanted.push_back({key->section, key->name});
    for (const OwnText& text : ownTexts()) wanted.push_back({text.section, text.name});
    std::vector<std::string> values = Regedit::ReadIniStrings(wanted, file, kLanguageFileLimit);
    bool shown = true;
    for (std::string& value : values) {
        std::optional<std::string> inCodePage = platform::inSystemCodePage(value);
        if (inCodePage)
            value = std::move(*inCodePage);
        else
            shown = false;
    }
    if (!shown && !fallback.empty()) {
        platform::logReason(platform::ReasonTopic::Settings,
                            file +
                                " holds letters that this system's language for non-Unicode "
                                "programs lacks; the English texts are shown");
        LoadCaptions(fallback);
        showsFallback = true;
        return;
    }
    showsFallback = false;
    // The own texts first: the report page takes some of them with its captions.
    auto value = values.begin() + (keysEnd() - keysBegin());
    for (const OwnText& text : ownTexts()) {
        this->*text.property = value->empty() ? text.english : *value;
        ++value;
    }
    value = values.begin();
    for (const K* key = keysBegin(); key != keysEnd(); ++key, ++value) {
        this->*key->property = *value;
        if (isLastReportKey(key) && reportCaptionsHook) reportCaptionsHook(*this);
    }
    if (loadedHook) loadedHook(*this);
}

const LangOp& EnglishTexts() {
    static const LangOp english;
    return english;
}

namespace {

struct Placeholder {
    std::string_view name;  // empty when there is none
    std::size_t end = 0;
};

// The placeholder that starts at text[open], a '{' or a '%'.
Placeholder placeholderAt(std::string_view text, std::size_t open) {
    if (text[open] == '%') {
        const bool digit = open + 1 < text.size() && text[open + 1] >= '1' && text[open + 1] <= '9';
        return digit ? Placeholder{text.substr(open + 1, 1), open + 2} : Placeholder{};
    }
    const std::size_t close = text.find('}', open);
    if (close == std::string_view::npos) return {};
    return {text.substr(open + 1, close - open - 1), close + 1};
}

}  // namespace

std::string FillIn(std::string_view text,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string filled;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find_first_of("{%", at);
        filled += text.substr(at, open - at);
        if (open == std::string_view::npos) break;
        const Placeholder placeholder = placeholderAt(text, open);
        const auto value = std::find_if(
            values.begin(), values.end(),
            [&placeholder](const auto& entry) { return entry.first == placeholder.name; });
        if (placeholder.name.empty() || value == values.end()) {
            filled += text[open];
            at = open + 1;
            continue;
        }
        filled += value->second;
        at = placeholder.end;
    }
    return filled;
}

int saveCaptionLeft(int sendCaptionLeftTwips, const std::string& saveCaption, int textWidthTwips,
                    int gapTwips) {
    const int byCharacters =
        sendCaptionLeftTwips - 130 * static_cast<int>(platform::characterCount(saveCaption));
    if (saveCaption.empty()) return byCharacters;
    return std::min(byCharacters, sendCaptionLeftTwips - textWidthTwips - gapTwips);
}

}  // namespace twk
