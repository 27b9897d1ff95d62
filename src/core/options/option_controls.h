#pragma once

#include "core/options/options_state.h"

// How the options page's check boxes and radio buttons react.
namespace twk::options {

// Check box clicks: "0" turns on, "1" turns off (showing the off-highlighted picture, as the
// pointer is on it), any other Tag does nothing.
// "Save reports": on shows the on-highlighted picture; the folder boxes follow it.
void clickSaveReports(OptionsState& state);
// "Start with Windows": on shows the on-highlighted picture; nothing else follows it.
void clickStartWithWindows(OptionsState& state);
// "Send reports": on shows the plain on picture and selects "Every day"; off clears the schedule
// and disables the recipient box.
void clickSendReports(OptionsState& state);

enum class ScheduleReset { Clear, Default };
// Clear: no radio on, the recipient box enabled, the time box and both day lists disabled.
// Default: "Every day" on, the recipient and time boxes enabled; the rest stays as it is.
void ResetSchedule(OptionsState& state, ScheduleReset reset);

// A radio click: inert while "Send reports" is off; otherwise that radio alone is on and only
// its input (time box, day-of-week or day-of-month list) is enabled.
void SelectSchedule(OptionsState& state, Schedule kind);
inline void SelectEveryDay(OptionsState& state) { SelectSchedule(state, Schedule::EveryDay); }
inline void SelectEveryWeek(OptionsState& state) { SelectSchedule(state, Schedule::EveryWeek); }
inline void SelectEveryMonth(OptionsState& state) { SelectSchedule(state, Schedule::EveryMonth); }

// The hover look of a check box: the highlighted picture of its state on entering, the plain one
// on leaving. False when the control did not react (a Tag neither "0" nor "1"); the page then
// leaves its caption colour alone too.
bool hoverCheckBox(PictureToggle& box, bool entering);
// The same for a radio button, which does not react at all while "Send reports" is off.
bool hoverRadio(OptionsState& state, Schedule kind, bool entering);

// The folder buttons react only while "Save reports" is on.
bool folderButtonsActive(const OptionsState& state);

}  // namespace twk::options
