#include "core/options/option_controls.h"

#include <gtest/gtest.h>

#include "core/options/time_box.h"

namespace twk::options {
namespace {

PictureToggle toggleOf(const char* tag, Picture picture) { return PictureToggle{tag, picture}; }

void expectToggle(const PictureToggle& box, const char* tag, Picture picture) {
    EXPECT_EQ(box.Tag, tag);
    EXPECT_EQ(box.picture, picture);
}

// The schedule as on, off and enabled flags, easy to compare in one go.
struct ScheduleLook {
    std::string tags;
    bool recipient, time, weekday, monthDay;
    bool operator==(const ScheduleLook&) const = default;
};
ScheduleLook lookOf(const OptionsState& s) {
    return {s.schedule[0].Tag + s.schedule[1].Tag + s.schedule[2].Tag, s.recipientEnabled,
            s.timeEnabled, s.weekdayEnabled, s.monthDayEnabled};
}

OptionsState sendingReports() {
    OptionsState state;
    clickSendReports(state);
    return state;
}

TEST(OptionControlsTest, SaveReportsTurnsOnHighlightedAndTheFolderBoxesFollow) {
    OptionsState state;
    clickSaveReports(state);
    expectToggle(state.saveReports, "1", Picture::OnHighlighted);
    EXPECT_TRUE(state.folderBoxesEnabled);
    EXPECT_TRUE(folderButtonsActive(state));
    clickSaveReports(state);
    expectToggle(state.saveReports, "0", Picture::OffHighlighted);
    EXPECT_FALSE(state.folderBoxesEnabled);
    EXPECT_FALSE(folderButtonsActive(state));
}

TEST(OptionControlsTest, StartWithWindowsOnlyFlips) {
    OptionsState state;
    const OptionsState before = state;
    clickStartWithWindows(state);
    expectToggle(state.startWithWindows, "1", Picture::OnHighlighted);
    clickStartWithWindows(state);
    expectToggle(state.startWithWindows, "0", Picture::OffHighlighted);
    EXPECT_EQ(state.folderBoxesEnabled, before.folderBoxesEnabled);
    EXPECT_EQ(lookOf(state), lookOf(before));
}

TEST(OptionControlsTest, ATagThatIsNeitherZeroNorOneMakesEveryBoxInert) {
    OptionsState state;
    for (PictureToggle* box : {&state.saveReports, &state.startWithWindows, &state.sendReports})
        *box = toggleOf("yes", Picture::Off);
    const ScheduleLook schedule = lookOf(state);
    clickSaveReports(state);
    clickStartWithWindows(state);
    clickSendReports(state);
    for (const PictureToggle* box :
         {&state.saveReports, &state.startWithWindows, &state.sendReports})
        expectToggle(*box, "yes", Picture::Off);
    EXPECT_FALSE(state.folderBoxesEnabled);
    EXPECT_EQ(lookOf(state), schedule);
    EXPECT_FALSE(hoverCheckBox(state.saveReports, true));
    EXPECT_EQ(state.saveReports.picture, Picture::Off);
}

TEST(OptionControlsTest, SendReportsOnSelectsEveryDayAndOffClearsTheSchedule) {
    OptionsState state = sendingReports();
    expectToggle(state.sendReports, "1", Picture::On);
    expectToggle(state.radio(Schedule::EveryDay), "1", Picture::On);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"100", true, true, false, false}));
    SelectEveryWeek(state);
    clickSendReports(state);
    expectToggle(state.sendReports, "0", Picture::OffHighlighted);
    for (const PictureToggle& radio : state.schedule) expectToggle(radio, "0", Picture::Off);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"000", false, false, false, false}));
}

TEST(OptionControlsTest, RadiosAreInertWhileSendReportsIsOff) {
    OptionsState state;
    for (Schedule kind : {Schedule::EveryDay, Schedule::EveryWeek, Schedule::EveryMonth}) {
        SelectSchedule(state, kind);
        EXPECT_FALSE(hoverRadio(state, kind, true));
    }
    EXPECT_EQ(lookOf(state), (ScheduleLook{"000", false, false, false, false}));
    for (const PictureToggle& radio : state.schedule) EXPECT_EQ(radio.picture, Picture::Off);
}

TEST(OptionControlsTest, ExactlyOneRadioAndOnlyItsInputAreOn) {
    OptionsState state = sendingReports();
    SelectEveryMonth(state);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"001", true, false, false, true}));
    expectToggle(state.radio(Schedule::EveryMonth), "1", Picture::On);
    SelectEveryWeek(state);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"010", true, false, true, false}));
    SelectEveryWeek(state);  // selecting the selected one keeps it
    EXPECT_EQ(lookOf(state), (ScheduleLook{"010", true, false, true, false}));
    SelectEveryDay(state);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"100", true, true, false, false}));
}

TEST(OptionControlsTest, DefaultScheduleLeavesTheOtherRadiosAndListsAsTheyAre) {
    OptionsState state = sendingReports();
    SelectEveryMonth(state);
    ResetSchedule(state, ScheduleReset::Default);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"101", true, true, false, true}));
    ResetSchedule(state, ScheduleReset::Clear);
    EXPECT_EQ(lookOf(state), (ScheduleLook{"000", true, false, false, false}));
}

TEST(OptionControlsTest, HoverShowsTheHighlightedPictureOfTheState) {
    PictureToggle box;
    EXPECT_TRUE(hoverCheckBox(box, true));
    EXPECT_EQ(box.picture, Picture::OffHighlighted);
    EXPECT_TRUE(hoverCheckBox(box, false));
    EXPECT_EQ(box.picture, Picture::Off);
    box.Tag = kTagOn;
    hoverCheckBox(box, true);
    EXPECT_EQ(box.picture, Picture::OnHighlighted);
    hoverCheckBox(box, false);
    EXPECT_EQ(box.picture, Picture::On);

    OptionsState state = sendingReports();
    EXPECT_TRUE(hoverRadio(state, Schedule::EveryWeek, true));
    EXPECT_EQ(state.radio(Schedule::EveryWeek).picture, Picture::OffHighlighted);
    EXPECT_TRUE(hoverRadio(state, Schedule::EveryDay, true));
    EXPECT_EQ(state.radio(Schedule::EveryDay).picture, Picture::OnHighlighted);
}

TEST(TimeBoxTest, HoursAndMinutesAreKeptInRange) {
    EXPECT_EQ(clampTime("99"), "23");
    EXPECT_EQ(clampTime("24"), "23");
    EXPECT_EQ(clampTime("23"), "23");
    EXPECT_EQ(clampTime("1275"), "1259");
    EXPECT_EQ(clampTime("2360"), "2359");
    EXPECT_EQ(clampTime("0000"), "0000");
    // Hours above 23 make the whole value "23"; a value the rule set goes through it again.
    EXPECT_EQ(clampTime("2559"), "23");
    EXPECT_EQ(clampTime("2575"), "23");
    EXPECT_EQ(clampTime("9999"), "23");
    // A stored time opens in range half by half.
    EXPECT_EQ(timeInRange("9999"), "2359");
    EXPECT_EQ(timeInRange("0730"), "0730");
    for (const char* untouched : {"", "9", "7", "999", "259"})
        EXPECT_EQ(clampTime(untouched), untouched);
}

TEST(TimeBoxTest, TypedDigitByDigitTheValueStaysInRange) {
    std::string value;
    for (char digit : std::string("2575")) value = clampTime(value + digit);
    EXPECT_EQ(value, "2359");
    for (const char* any : {"99", "1275", "9999", "123"})
        EXPECT_EQ(clampTime(clampTime(any)), clampTime(any));
}

TEST(TimeBoxTest, StoredTimesConvertBothWays) {
    EXPECT_EQ(timeValueOfStored("07:30"), "0730");
    EXPECT_EQ(storedTimeOf("0730"), "07:30");
    for (const char* malformed : {"", "7:30", "07-30", "ab:cd", "07:305", "07:3"})
        EXPECT_EQ(timeValueOfStored(malformed), "") << malformed;
    EXPECT_TRUE(isCompleteTime("0730"));
    EXPECT_FALSE(isCompleteTime("123"));
    EXPECT_EQ(storedTimeOf("123"), "");
}

}  // namespace
}  // namespace twk::options
