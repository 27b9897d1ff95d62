#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace twk {

class MainOp;

// The caption table: one text per caption key, filled from the chosen language file.
class LangOp {
public:
    // frmOptions
    std::string lfo_menu1, lfo_menu2, lfo_lang, lfo_save_rep, lfo_dir_rep, lfo_dir_quar,
        lfo_strt_win, lfo_save_changes, lfo_send_rep, lfo_recip, lfo_shed, lfo_ED, lfo_EW, lfo_EM,
        lfo_time, lfo_week, lfo_month, lfo_weekname;
    // frmGuard
    std::string lfg_pagename, lfg_enableguard, lfg_notdevices;
    // frmInfo
    std::string lfi_homepage, lfi_mail;
    // frmMain
    std::string lfm_protection, lfm_reports, lfm_options;
    // frmReport
    std::string lfr_menu1, lfr_menu2, lfr_sort, lfr_save, lfr_send, lfr_search;
    // frmSendReport
    std::string lfsr_pagename, lfsr_recip, lfsr_send;
    // frmFeedback
    std::string lff_pagename, lff_sender, lff_theme, lff_theme_text, lff_msg, lff_send;

    // The program's own texts besides the caption table: the windows' artwork, the tray menu,
    // the messages, the folder dialogs' titles, the report columns' headings. Each is read from
    // the section of its window and is English where the language file has none (the caption
    // table has no such fallback), so a language file without them shows the English texts.
    // frmMain; lfm_locale names the Qt translations the language goes with ("de"), none in
    // English.
    std::string lfm_tagline, lfm_locale, lfm_mnu_main, lfm_mnu_info, lfm_mnu_feedback, lfm_mnu_exit,
        lfm_noadmin, lfm_newversion, lfm_newversion_title, lfm_spk_home, lfm_spk_info,
        lfm_spk_close;
    // frmInfo
    std::string lfi_tagline, lfi_version, lfi_ok;
    // frmOptions
    std::string lfo_wrongmail, lfo_testrefused, lfo_wrongtime, lfo_notsaved, lfo_saved,
        lfo_lang_unshown, lfo_dir_rep_title, lfo_dir_quar_title;
    // frmGuard
    std::string lfg_notsaved, lfg_spk_up, lfg_spk_down;
    // frmReport
    std::string lfr_alldates, lfr_choose, lfr_csvfile, lfr_overwrite, lfr_saved, lfr_notsaved,
        lfr_problems, lfr_more, lfr_notregular, lfr_toolarge, lfr_notopened, lfr_notread,
        lfr_denied, lfr_nofolder, lfr_nofolder_long, lfr_nofolder_system, lfr_folder_unread,
        lfr_col_pc, lfr_col_user, lfr_col_time, lfr_col_action, lfr_col_source, lfr_col_dest,
        lfr_col_device, lfr_col_name, lfr_col_desc, lfr_col_path, lfr_col_manuf, lfr_col_service,
        lfr_col_enum, lfr_col_hwid, lfr_col_serial;
    // frmSendReport
    std::string lfsr_invalid, lfsr_sent, lfsr_notsent, lfsr_notwritten;
    // frmFeedback
    std::string lff_needsender, lff_needmsg, lff_sent, lff_notsent;
    // The desktop notifications of what the guard service does.
    std::string lfn_device, lfn_device_text, lfn_virus, lfn_virus_text, lfn_burst, lfn_burst_text;
    struct OwnText {
        const char* name;
        const char* section;
        const char* english;
        std::string LangOp::*property;
    };
    static std::span<const OwnText> ownTexts();

    // Every caption empty, every own text English: the table before any language is loaded.
    LangOp();

    // Called right after the report page's keys are read: the report page is created (hidden)
    // and takes its five captions. Empty until the pages install it.
    std::function<void(const LangOp&)> reportCaptionsHook;
    // Called after every load, so that the toolkit's own texts (dialog buttons) follow the
    // language. Empty until the pages install it.
    std::function<void(const LangOp&)> loadedHook;

    // Finds the language file named by settings.lang in <programFolder>/languages, falling back
    // to English.twl when there is no such file or the name is no plain file name, and loads it.
    // Without the folder nothing changes.
    void Init(const MainOp& settings);
    // Reads every key from one reading of file (at most kLanguageFileLimit bytes), assigns them
    // in table order after the own texts, running the report hook after the report page's keys.
    // Texts come in the system code page (platform::inSystemCodePage); a file whose letters the
    // code page cannot show is left for fallback, when there is one.
    void LoadCaptions(const std::string& file, const std::string& fallback = {});
    // Whether the last load took the fallback because the file's letters cannot be shown.
    bool showsFallback = false;

    struct Key {
        const char* name;
        const char* section;
        std::string LangOp::*property;
    };
    // Every key in load order, section by section.
    static const Key* keysBegin();
    static const Key* keysEnd();
};

// Where the save caption of the report page starts so that it ends left of the send caption:
// 130 twips left of the send caption's left edge per character of the caption, or further left
// when its text, textWidthTwips wide as drawn, would then end closer than gapTwips to the send
// caption (wide letters such as Cyrillic ones).
int saveCaptionLeft(int sendCaptionLeftTwips, const std::string& saveCaption, int textWidthTwips,
                    int gapTwips);

// The own texts as English has them: the words of the journal, whatever language the user chose.
const LangOp& EnglishTexts();

// text with each placeholder of a value replaced by the value, in one pass, so that a value is
// never searched for placeholders itself. A placeholder is "{name}" for the value called name
// (the notifications name their values) or "%1" for the value called "1" (the messages'
// form); one without a value stays as it is.
std::string FillIn(std::string_view text,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// Language files larger than this are not read (their captions stay empty).
inline constexpr std::uint64_t kLanguageFileLimit = std::uint64_t{64} << 20;

// True when name can name a language file: a plain file name, without folder separators or "..".
bool isLanguageName(const std::string& name);

// The folder of the language files inside the program folder.
std::string languagesFolder(const std::string& programFolder);

}  // namespace twk
