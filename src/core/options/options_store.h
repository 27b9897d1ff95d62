#pragma once

#include <string>
#include <vector>

#include "core/options/options_state.h"

namespace twk {
class HelperLibrary;
class LangOp;
class MainOp;
class MessageBoxes;
}  // namespace twk

// Loading the options page from the settings and saving it back.
namespace twk::options {

// The day-of-week list holds at most this many names.
inline constexpr std::size_t kMaxWeekdays = 8;

// The day names of the caption "lfo_weekname": each name ends with ";", text after the last ";"
// is dropped, and names beyond the eighth are ignored. "Mon;Tue;Wed" gives Mon and Tue.
std::vector<std::string> parseWeekNames(const std::string& weekNames);
// "1" to "30": the month list never offers 31.
std::vector<std::string> monthDayNames();
// The languages on offer: the ".twl" files (any letter case) of <programFolder>/languages in
// name order, hidden files left out, each without its extension. Empty without the folder.
std::vector<std::string> languageNames(const std::string& programFolder);

// The list index a stored EW or EM names: the first item when the text is no index of the list
// (empty, not a number, out of range); -1 only for an empty list.
int storedListIndex(const std::string& stored, std::size_t itemCount);

// The page filled from the settings, with the day names of "lfo_weekname" and the languages on
// offer.
OptionsState LoadOptions(const MainOp& settings, const std::string& weekNames,
                         std::vector<std::string> languages);

enum class SaveResult {
    Stopped,     // wrong input or a refused test message: told, nothing stored
    NotWritten,  // the store refused the write: told, nothing stored, settings reloaded
    Saved,       // stored, not yet confirmed: the confirmation speaks the language just saved
};

// Checks the page, sends the test message when reports are to be mailed, puts the page into the
// settings and stores them. Every outcome but Saved is told through boxes, in the language of
// texts. After a stop the values that the earlier steps put into settings stay there until the
// next Init; after a refused write the settings hold the stored state again.
SaveResult SaveOptions(const OptionsState& page, MainOp& settings, HelperLibrary& helper,
                       MessageBoxes& boxes, const LangOp& texts);

}  // namespace twk::options
