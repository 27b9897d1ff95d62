#include "core/options/options_store.h"

#include <utility>

#include "core/app/maker.h"
#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/mail/feedback.h"
#include "core/mail/helper_library.h"
#include "core/options/option_controls.h"
#include "core/options/time_box.h"
#include "core/settings/general.h"
#include "core/settings/main_op.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace twk::options {
namespace {

constexpr const char* kLanguageExtension = ".twl";
constexpr std::size_t kMonthDays = 30;

constexpr const char* kTestSubject = "Test message from Tarnwick program";
constexpr const char* kTestBody = "It's test message from Tarnwick";

const char* flag(bool on) { return on ? kTagOn : kTagOff; }

// The stored schedule kind: "0" every day, "1" every week, "2" every month.
std::string shedOf(Schedule kind) { return std::to_string(static_cast<int>(kind)); }

bool isLanguageFile(const std::string& name) {
    const std::size_t extension = std::string(kLanguageExtension).size();
    return name.size() > extension &&
           platform::equalsNoCase(name.substr(name.size() - extension), kLanguageExtension);
}

// Applies the stored schedule to a page whose "Send reports" was just turned on.
void loadSchedule(const MainOp& settings, OptionsState& state) {
    if (settings.Shed == shedOf(Schedule::EveryDay) || settings.Shed.empty()) {
        SelectEveryDay(state);
        if (!settings.Time.empty()) {
            const std::string value = timeValueOfStored(settings.Time);
            if (!value.empty()) state.time = timeInRange(value);
        }
    } else if (settings.Shed == shedOf(Schedule::EveryWeek)) {
        SelectEveryWeek(state);
        state.weekday = storedListIndex(settings.EW, state.weekdays.size());
    } else if (settings.Shed == shedOf(Schedule::EveryMonth)) {
        SelectEveryMonth(state);
        state.monthDay = storedListIndex(settings.EM, state.monthDays.size());
    }
}

// Step 3 of saving: the mail settings, with the recipient, test-message and time checks. False
// when a check stopped the save (the user has been told).
bool takeMailSettings(const OptionsState& page, MainOp& settings, HelperLibrary& helper,
                      MessageBoxes& boxes, const LangOp& texts) {
    if (!page.sendReports.isOn()) {
        settings.isSendRep = kTagOff;
        return true;
    }
    settings.isSendRep = kTagOn;
    if (isEmptyOrPlaceholder(page.recipient, maker::kPlaceholderRecipient)) {
        showError(boxes, texts.lfo_wrongmail);
        return false;
    }
    if (helper.SendMailOut(page.recipient, kTestSubject, kTestBody, "") != 0) {
        showError(boxes, texts.lfo_testrefused);
        return false;
    }
    settings.Recip = page.recipient;
    if (page.radio(Schedule::EveryDay).isOn()) {
        if (!isCompleteTime(page.time)) {
            showError(boxes, texts.lfo_wrongtime);
            return false;
        }
        settings.Time = storedTimeOf(page.time);
        settings.Shed = shedOf(Schedule::EveryDay);
    } else if (page.radio(Schedule::EveryWeek).isOn()) {
        settings.EW = std::to_string(page.weekday);
        settings.Shed = shedOf(Schedule::EveryWeek);
    } else if (page.radio(Schedule::EveryMonth).isOn()) {
        settings.EM = std::to_string(page.monthDay);
        settings.Shed = shedOf(Schedule::EveryMonth);
    }
    return true;
}

}  // namespace

std::vector<std::string> parseWeekNames(const std::string& weekNames) {
    std::vector<std::string> names;
    std::string current;
    for (char c : weekNames) {
        if (c != ';') {
            current += c;
            continue;
        }
        if (names.size() == kMaxWeekdays) break;
        names.push_back(std::move(current));
        current.clear();
    }
    return names;
}

std::vector<std::string> monthDayNames() {
    std::vector<std::string> days;
    for (std::size_t day = 1; day <= kMonthDays; ++day) days.push_back(std::to_string(day));
    return days;
}

std::vector<std::string> languageNames(const std::string& programFolder) {
    const std::string folder = languagesFolder(programFolder);
    std::vector<std::string> names;
    if (General::DirExists(folder) != VbTrue) return names;
    const std::size_t extension = std::string(kLanguageExtension).size();
    for (const std::string& file : platform::listFiles(folder))
        if (isLanguageFile(file)) names.push_back(file.substr(0, file.size() - extension));
    return names;
}

int storedListIndex(const std::string& stored, std::size_t itemCount) {
    if (itemCount == 0) return -1;
    // Longer texts cannot name an item of these short lists.
    if (stored.empty() || stored.size() > 3) return 0;
    std::size_t index = 0;
    for (char c : stored) {
        if (c < '0' || c > '9') return 0;
        index = index * 10 + static_cast<std::size_t>(c - '0');
    }
    return index < itemCount ? static_cast<int>(index) : 0;
}

OptionsState LoadOptions(const MainOp& settings, const std::string& weekNames,
                         std::vector<std::string> languages) {
    OptionsState state;
    state.monthDays = monthDayNames();
    state.weekdays = parseWeekNames(weekNames);
    state.time = kDefaultTimeValue;
    state.weekday = state.weekdays.empty() ? -1 : 0;
    state.monthDay = 0;
    if (!settings.lang.empty()) state.language = settings.lang;
    if (settings.isSaveReport == kTagOn) clickSaveReports(state);
    if (!settings.DirRep.empty()) state.reportFolder = settings.DirRep;
    if (!settings.DirQuar.empty()) state.quarantineFolder = settings.DirQuar;
    if (settings.isStartWind == kTagOn) clickStartWithWindows(state);
    if (settings.isSendRep == kTagOn) {
        clickSendReports(state);
        loadSchedule(settings, state);
    }
    if (!settings.Recip.empty()) state.recipient = settings.Recip;
    state.languages = std::move(languages);
    return state;
}

SaveResult SaveOptions(const OptionsState& page, MainOp& settings, HelperLibrary& helper,
                       MessageBoxes& boxes, const LangOp& texts) {
    if (!page.language.empty()) settings.lang = page.language;
    settings.isSaveReport = flag(page.saveReports.isOn());
    if (page.saveReports.isOn()) {
        // An emptied folder box keeps the stored folder; a filled one is taken.
        if (!page.reportFolder.empty()) settings.DirRep = page.reportFolder;
        if (!page.quarantineFolder.empty()) settings.DirQuar = page.quarantineFolder;
    }
    if (!takeMailSettings(page, settings, helper, boxes, texts)) return SaveResult::Stopped;
    settings.isStartWind = flag(page.startWithWindows.isOn());
    if (!settings.Save()) {
        showError(boxes, texts.lfo_notsaved);
        settings.Init();
        return SaveResult::NotWritten;
    }
    return SaveResult::Saved;
}

}  // namespace twk::options
