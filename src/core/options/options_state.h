#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/app/maker.h"

namespace twk::options {

// The four pictures of a picture check box or radio button, in the order of their holders
// (ch_0..ch_3 for check boxes, ch_s0..ch_s3 for radio buttons).
enum class Picture { Off = 0, OffHighlighted = 1, On = 2, OnHighlighted = 3 };

inline constexpr const char* kTagOn = "1";
inline constexpr const char* kTagOff = "0";

// A picture check box or radio button. Its state is the Tag text, compared with exactly "0" and
// "1"; any other text counts as neither and makes the control inert.
struct PictureToggle {
    std::string Tag = kTagOff;
    Picture picture = Picture::Off;

    bool isOn() const { return Tag == kTagOn; }
    bool isOff() const { return Tag == kTagOff; }
};

enum class Schedule { EveryDay = 0, EveryWeek = 1, EveryMonth = 2 };

// Everything the options page shows, as plain values: the page only maps it onto its controls.
// A default-made state is the page as designed, before the stored options are loaded.
struct OptionsState {
    // General tab
    std::vector<std::string> languages;  // lng_cmb items
    std::string language;                // lng_cmb text
    PictureToggle saveReports;           // rep_ch
    std::string reportFolder;            // txtRepDir
    std::string quarantineFolder;        // txtQrntDir
    bool folderBoxesEnabled = false;     // txtRepDir and txtQrntDir
    PictureToggle startWithWindows;      // ch_autorun

    // Mail tab
    PictureToggle sendReports;                             // rep_send
    std::string recipient = maker::kPlaceholderRecipient;  // txtrec
    bool recipientEnabled = false;
    std::array<PictureToggle, 3> schedule;  // ch_sh0 every day, ch_sh1 every week, ch_sh2 month
    std::string time;                       // txtTime value: its digits alone, "2359" for 23:59
    bool timeEnabled = false;
    std::vector<std::string> weekdays;  // cmbDayW items
    int weekday = -1;                   // selected index; -1 when nothing or typed text selects
    bool weekdayEnabled = false;
    std::vector<std::string> monthDays;  // cmbDayM items
    int monthDay = -1;
    bool monthDayEnabled = false;

    PictureToggle& radio(Schedule kind) { return schedule[static_cast<std::size_t>(kind)]; }
    const PictureToggle& radio(Schedule kind) const {
        return schedule[static_cast<std::size_t>(kind)];
    }
};

}  // namespace twk::options
