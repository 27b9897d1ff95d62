#include "core/options/option_controls.h"

#include <optional>

namespace twk::options {
namespace {

// Flips a check box; the new state, or nothing for a Tag that is neither "0" nor "1".
std::optional<bool> toggle(PictureToggle& box, Picture pictureWhenTurnedOn) {
    if (box.isOff()) {
        box.picture = pictureWhenTurnedOn;
        box.Tag = kTagOn;
        return true;
    }
    if (box.isOn()) {
        box.picture = Picture::OffHighlighted;
        box.Tag = kTagOff;
        return false;
    }
    return std::nullopt;
}

void setInputEnabled(OptionsState& state, Schedule kind, bool enabled) {
    switch (kind) {
        case Schedule::EveryDay:
            state.timeEnabled = enabled;
            break;
        case Schedule::EveryWeek:
            state.weekdayEnabled = enabled;
            break;
        case Schedule::EveryMonth:
            state.monthDayEnabled = enabled;
            break;
    }
}

}  // namespace

void clickSaveReports(OptionsState& state) {
    if (auto on = toggle(state.saveReports, Picture::OnHighlighted)) state.folderBoxesEnabled = *on;
}

void clickStartWithWindows(OptionsState& state) {
    toggle(state.startWithWindows, Picture::OnHighlighted);
}

void clickSendReports(OptionsState& state) {
    const std::optional<bool> on = toggle(state.sendReports, Picture::On);
    if (!on) return;
    ResetSchedule(state, *on ? ScheduleReset::Default : ScheduleReset::Clear);
    state.recipientEnabled = *on;
}

void ResetSchedule(OptionsState& state, ScheduleReset reset) {
    state.recipientEnabled = true;
    if (reset == ScheduleReset::Default) {
        PictureToggle& everyDay = state.radio(Schedule::EveryDay);
        everyDay.picture = Picture::On;
        everyDay.Tag = kTagOn;
        state.timeEnabled = true;
        return;
    }
    for (PictureToggle& radio : state.schedule) {
        radio.picture = Picture::Off;
        radio.Tag = kTagOff;
    }
    for (Schedule kind : {Schedule::EveryDay, Schedule::EveryWeek, Schedule::EveryMonth})
        setInputEnabled(state, kind, false);
}

void SelectSchedule(OptionsState& state, Schedule kind) {
    if (state.sendReports.isOff()) return;
    ResetSchedule(state, ScheduleReset::Clear);
    PictureToggle& radio = state.radio(kind);
    if (!radio.isOff()) return;
    radio.picture = Picture::On;
    radio.Tag = kTagOn;
    setInputEnabled(state, kind, true);
}

bool hoverCheckBox(PictureToggle& box, bool entering) {
    if (box.isOff()) {
        box.picture = entering ? Picture::OffHighlighted : Picture::Off;
        return true;
    }
    if (box.isOn()) {
        box.picture = entering ? Picture::OnHighlighted : Picture::On;
        return true;
    }
    return false;
}

bool hoverRadio(OptionsState& state, Schedule kind, bool entering) {
    if (state.sendReports.isOff()) return false;
    return hoverCheckBox(state.radio(kind), entering);
}

bool folderButtonsActive(const OptionsState& state) { return state.saveReports.isOn(); }

}  // namespace twk::options
