#include "core/options/options_store.h"

#include <gtest/gtest.h>

#include "core/i18n/lang_op.h"
#include "core/options/option_controls.h"
#include "core/settings/main_op.h"
#include "platform/roots.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"
#include "support/temp_registry.h"

namespace twk::options {
namespace {

using Names = std::vector<std::string>;

TEST(OptionListsTest, MonthDaysRunFromOneToThirty) {
    const Names days = monthDayNames();
    ASSERT_EQ(days.size(), 30u);
    EXPECT_EQ(days.front(), "1");
    EXPECT_EQ(days[14], "15");
    EXPECT_EQ(days.back(), "30");
}

TEST(OptionListsTest, WeekNamesEndWithSemicolonsAndStopAfterTheEighth) {
    EXPECT_EQ(parseWeekNames("Mon;Tue;Wed"), (Names{"Mon", "Tue"}));
    EXPECT_EQ(parseWeekNames("Mo;;Mi;"), (Names{"Mo", "", "Mi"}));
    EXPECT_EQ(parseWeekNames(""), Names{});
    EXPECT_EQ(parseWeekNames("1;2;3;4;5;6;7;8;9;10;"),
              (Names{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST(OptionListsTest, LanguagesAreTheLanguageFilesInNameOrder) {
    test::TempDir program;
    for (const char* file :
         {"languages/English.twl", "languages/Deutsch.twl", "languages/Russian.TWL",
          "languages/.Hidden.twl", "languages/notes.txt", "languages/.twl", "languages/twl",
          "languages/Folder.twl/inner.twl"})
        test::writeFile(program.file(file), "[frmMain]\n");
    EXPECT_EQ(languageNames(program.path()), (Names{"Deutsch", "English", "Russian"}));
    test::TempDir empty;
    EXPECT_EQ(languageNames(empty.path()), Names{});
}

TEST(OptionListsTest, AStoredIndexThatNamesNoItemSelectsTheFirst) {
    EXPECT_EQ(storedListIndex("2", 3), 2);
    EXPECT_EQ(storedListIndex("029", 30), 29);
    for (const char* stray : {"", "3", "30", "-1", "x", "1.5", " 1", "99999999999999999999"})
        EXPECT_EQ(storedListIndex(stray, 3), 0) << stray;
    EXPECT_EQ(storedListIndex("0", 0), -1);
}

class OptionsStoreTest : public ::testing::Test {
protected:
    test::TempRegistry store;
    Regedit::RootKey root = store.root();
    MainOp settings{root, "/opt/tarnwick"};
    test::ScriptedHelperLibrary helper;
    test::ScriptedMessageBoxes boxes;

    OptionsState load(const std::string& weekNames = "Mon;Tue;Wed;") {
        return LoadOptions(settings, weekNames, {"Deutsch", "English"});
    }
    SaveResult save(const OptionsState& page) {
        return SaveOptions(page, settings, helper, boxes, LangOp());
    }
    std::string stored(const char* name) { return Regedit::GetString(root, kSettingsKey, name); }
    void expectOneBox(const std::string& text, MsgIcon icon) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].title, "Tarnwick");
        EXPECT_EQ(boxes.shown[0].icon, icon);
    }
    // A page mailing reports to a real address, as after loading stored mail settings.
    OptionsState mailingPage() {
        settings.isSendRep = "1";
        settings.Recip = "admin@example.org";
        return load();
    }
};

TEST_F(OptionsStoreTest, AFreshStoreLoadsTheDesignDefaults) {
    settings.Init();
    const OptionsState page = load();
    EXPECT_EQ(page.language, "English");
    EXPECT_EQ(page.languages, (Names{"Deutsch", "English"}));
    EXPECT_EQ(page.reportFolder, "/opt/tarnwick" + platform::pathSeparator() + "reports");
    EXPECT_EQ(page.quarantineFolder, "/opt/tarnwick" + platform::pathSeparator() + "quarantine");
    for (const PictureToggle* box : {&page.saveReports, &page.startWithWindows, &page.sendReports})
        EXPECT_EQ(box->Tag, "0");
    EXPECT_FALSE(page.folderBoxesEnabled);
    EXPECT_FALSE(page.recipientEnabled);
    EXPECT_EQ(page.recipient, maker::kPlaceholderRecipient);
    EXPECT_EQ(page.time, "2359");
    EXPECT_EQ(page.weekdays, (Names{"Mon", "Tue", "Wed"}));
    EXPECT_EQ(page.weekday, 0);
    EXPECT_EQ(page.monthDays.size(), 30u);
    EXPECT_EQ(page.monthDay, 0);
    for (const PictureToggle& radio : page.schedule) EXPECT_EQ(radio.Tag, "0");
}

TEST_F(OptionsStoreTest, StoredValuesReachEveryControl) {
    settings.lang = "Deutsch";
    settings.isSaveReport = "1";
    settings.DirRep = "/srv/reports";
    settings.DirQuar = "/srv/quarantine";
    settings.isStartWind = "1";
    settings.isSendRep = "1";
    settings.Recip = "admin@example.org";
    settings.Shed = "0";
    settings.Time = "07:30";
    const OptionsState page = load();
    EXPECT_EQ(page.language, "Deutsch");
    EXPECT_EQ(page.saveReports.Tag, "1");
    EXPECT_TRUE(page.folderBoxesEnabled);
    EXPECT_EQ(page.reportFolder, "/srv/reports");
    EXPECT_EQ(page.quarantineFolder, "/srv/quarantine");
    EXPECT_EQ(page.startWithWindows.Tag, "1");
    EXPECT_EQ(page.sendReports.Tag, "1");
    EXPECT_TRUE(page.recipientEnabled);
    EXPECT_EQ(page.recipient, "admin@example.org");
    EXPECT_EQ(page.radio(Schedule::EveryDay).Tag, "1");
    EXPECT_TRUE(page.timeEnabled);
    EXPECT_EQ(page.time, "0730");
}

TEST_F(OptionsStoreTest, EachScheduleKindLoadsItsRadioAndValue) {
    settings.isSendRep = "1";
    settings.Time = "06:15";
    settings.EW = "2";
    settings.EM = "14";
    struct Case {
        const char* shed;
        Schedule on;
        int weekday, monthDay;
        const char* time;  // a stored time reaches the box only with the daily schedule
    };
    for (const Case& c :
         {Case{"", Schedule::EveryDay, 0, 0, "0615"}, Case{"0", Schedule::EveryDay, 0, 0, "0615"},
          Case{"1", Schedule::EveryWeek, 2, 0, "2359"},
          Case{"2", Schedule::EveryMonth, 0, 14, "2359"},
          Case{"7", Schedule::EveryDay, 0, 0, "2359"}}) {
        settings.Shed = c.shed;
        const OptionsState page = load();
        for (Schedule kind : {Schedule::EveryDay, Schedule::EveryWeek, Schedule::EveryMonth})
            EXPECT_EQ(page.radio(kind).isOn(), kind == c.on) << "Shed " << c.shed;
        EXPECT_EQ(page.weekday, c.weekday) << "Shed " << c.shed;
        EXPECT_EQ(page.monthDay, c.monthDay) << "Shed " << c.shed;
        EXPECT_EQ(page.time, c.time) << "Shed " << c.shed;
    }
    settings.Shed = "2";
    const OptionsState monthly = load();
    EXPECT_EQ(monthly.monthDays[monthly.monthDay], "15");
}

TEST_F(OptionsStoreTest, StoredValuesThatNameNoItemSelectTheFirst) {
    settings.isSendRep = "1";
    settings.Shed = "1";
    for (const char* stray : {"3", "8", "-1", "x", ""}) {  // "3": Wed is the last of three names
        settings.EW = stray;
        EXPECT_EQ(load().weekday, 0) << stray;
    }
    settings.Shed = "2";
    for (const char* stray : {"30", "-1", "x", ""}) {
        settings.EM = stray;
        EXPECT_EQ(load().monthDay, 0) << stray;
    }
    settings.Shed = "1";
    settings.EW = "1";
    EXPECT_EQ(load("").weekday, -1);  // no names at all: nothing to select
}

TEST_F(OptionsStoreTest, AMalformedStoredTimeKeepsTheDefaultAndAnOutOfRangeOneIsClamped) {
    settings.isSendRep = "1";
    settings.Time = "7:30";
    EXPECT_EQ(load().time, "2359");
    settings.Time = "25:75";
    EXPECT_EQ(load().time, "2359");
}

TEST_F(OptionsStoreTest, SavingWithoutSendReportsMailsNothingAndKeepsTheMailSettings) {
    settings.Recip = "old@example.org";
    settings.Shed = "2";
    settings.Time = "08:00";
    settings.EW = "1";
    settings.EM = "4";
    OptionsState page = load();
    page.language = "Deutsch";
    page.recipient = "new@example.org";
    ASSERT_EQ(save(page), SaveResult::Saved);
    EXPECT_TRUE(helper.sent.empty());
    EXPECT_TRUE(boxes.shown.empty()) << "the page confirms, in the language just saved";
    EXPECT_EQ(stored("Language"), "Deutsch");
    EXPECT_EQ(stored("SendReports"), "0");
    EXPECT_EQ(stored("SaveReports"), "0");
    EXPECT_EQ(stored("StartWindows"), "0");
    EXPECT_EQ(stored("Recipient"), "old@example.org");
    EXPECT_EQ(stored("Shedule"), "2");
    EXPECT_EQ(stored("Time"), "08:00");
    EXPECT_EQ(stored("EveryWeek"), "1");
    EXPECT_EQ(stored("EveryMonth"), "4");
}

TEST_F(OptionsStoreTest, APlaceholderOrEmptyRecipientStopsBeforeAnythingIsStored) {
    for (const char* recipient : {maker::kPlaceholderRecipient, ""}) {
        boxes.shown.clear();
        settings.isSendRep = "0";
        OptionsState page = load();
        clickSendReports(page);
        page.recipient = recipient;
        page.language = "Deutsch";
        EXPECT_EQ(save(page), SaveResult::Stopped);
        expectOneBox("E-mail is wrong!", MsgIcon::Error);
        EXPECT_TRUE(helper.sent.empty());
        EXPECT_FALSE(store.hasKey(kSettingsKey));
        // What the earlier steps took stays in memory until the next Init.
        EXPECT_EQ(settings.lang, "Deutsch");
        EXPECT_EQ(settings.isSendRep, "1");
    }
}

TEST_F(OptionsStoreTest, TheTestMessageGoesOutAndARefusalStops) {
    OptionsState page = mailingPage();
    page.recipient = "new@example.org";
    helper.mailResult = 1;
    EXPECT_EQ(save(page), SaveResult::Stopped);
    expectOneBox("The e-mail is wrong! Check the data!", MsgIcon::Error);
    ASSERT_EQ(helper.sent.size(), 1u);
    EXPECT_EQ(helper.sent[0].recipient, "new@example.org");
    EXPECT_EQ(helper.sent[0].subject, "Test message from Tarnwick program");
    EXPECT_EQ(helper.sent[0].body, "It's test message from Tarnwick");
    EXPECT_EQ(helper.sent[0].attachment, "");
    EXPECT_FALSE(store.hasKey(kSettingsKey));
    EXPECT_EQ(settings.Recip, "admin@example.org");
}

TEST_F(OptionsStoreTest, TheDailyTimeMustBeComplete) {
    settings.Time = "06:00";
    OptionsState page = mailingPage();
    page.time = "123";  // 12:3_
    EXPECT_EQ(save(page), SaveResult::Stopped);
    expectOneBox("Time is wrong!", MsgIcon::Error);
    EXPECT_EQ(settings.Time, "06:00");
    EXPECT_EQ(settings.Recip, "admin@example.org");
    EXPECT_FALSE(store.hasKey(kSettingsKey));

    page.time = "0730";
    boxes.shown.clear();
    EXPECT_EQ(save(page), SaveResult::Saved);
    EXPECT_EQ(stored("Time"), "07:30");
    EXPECT_EQ(stored("Shedule"), "0");
    EXPECT_EQ(stored("SendReports"), "1");
    EXPECT_EQ(stored("Recipient"), "admin@example.org");
}

TEST_F(OptionsStoreTest, WeeklyAndMonthlyStoreTheSelectedIndex) {
    settings.Time = "06:00";
    OptionsState page = mailingPage();
    SelectEveryWeek(page);
    page.weekday = 2;
    ASSERT_EQ(save(page), SaveResult::Saved);
    EXPECT_EQ(stored("EveryWeek"), "2");
    EXPECT_EQ(stored("Shedule"), "1");
    settings.Init();
    EXPECT_EQ(load().weekday, 2);

    SelectEveryMonth(page);
    page.monthDay = 14;
    ASSERT_EQ(save(page), SaveResult::Saved);
    EXPECT_EQ(stored("EveryMonth"), "14");
    EXPECT_EQ(stored("Shedule"), "2");
    EXPECT_EQ(stored("EveryWeek"), "2");
    EXPECT_EQ(stored("Time"), "06:00");
    settings.Init();
    const OptionsState reopened = load();
    EXPECT_EQ(reopened.monthDays[reopened.monthDay], "15");

    page.monthDay = -1;  // typed text that names no day
    ASSERT_EQ(save(page), SaveResult::Saved);
    EXPECT_EQ(stored("EveryMonth"), "-1");
}

TEST_F(OptionsStoreTest, NoRadioOnLeavesTheScheduleAlone) {
    settings.Shed = "1";
    settings.EW = "3";
    OptionsState page = mailingPage();
    ResetSchedule(page, ScheduleReset::Clear);
    ASSERT_EQ(save(page), SaveResult::Saved);
    EXPECT_EQ(stored("Shedule"), "1");
    EXPECT_EQ(stored("EveryWeek"), "3");
}

TEST_F(OptionsStoreTest, FilledFolderBoxesAreStoredAndEmptyOnesKeepTheirFolder) {
    settings.Init();
    settings.isSaveReport = "1";
    struct Case {
        const char* reports;
        const char* quarantine;
        const char* storedReports;
        const char* storedQuarantine;
    };
    for (const Case& c :
         {Case{"/a/rep", "/a/quar", "/a/rep", "/a/quar"}, Case{"", "", "/a/rep", "/a/quar"},
          Case{"/b/rep", "", "/b/rep", "/a/quar"}, Case{"", "/b/quar", "/b/rep", "/b/quar"}}) {
        OptionsState page = load();
        page.reportFolder = c.reports;
        page.quarantineFolder = c.quarantine;
        ASSERT_EQ(save(page), SaveResult::Saved);
        EXPECT_EQ(stored("DirectoryReports"), c.storedReports);
        EXPECT_EQ(stored("DirectoryQuarantine"), c.storedQuarantine);
        EXPECT_EQ(stored("SaveReports"), "1");
    }
    settings.isSaveReport = "0";
    OptionsState off = load();  // with "Save reports" off the boxes are not taken
    off.reportFolder = "/c/rep";
    ASSERT_EQ(save(off), SaveResult::Saved);
    EXPECT_EQ(stored("DirectoryReports"), "/b/rep");
    EXPECT_EQ(stored("SaveReports"), "0");
}

}  // namespace
}  // namespace twk::options
