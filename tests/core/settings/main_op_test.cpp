#include "core/settings/main_op.h"

#include <gtest/gtest.h>

#include "platform/roots.h"
#include "support/settings_values.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

using test::allValues;

const std::string kProgramFolder = "/opt/tarnwick";
const std::string kReportsDefault = kProgramFolder + platform::pathSeparator() + "reports";

class MainOpTest : public ::testing::Test {
protected:
    test::TempRegistry store;
    Regedit::RootKey root = store.root();
    MainOp settings{root, kProgramFolder};
};

TEST_F(MainOpTest, EmptyStoreGivesTheThreeDefaultsAndNineEmptyValuesWithoutWriting) {
    settings.Init();
    EXPECT_EQ(settings.lang, "English");
    EXPECT_EQ(settings.DirRep, kReportsDefault);
    EXPECT_EQ(settings.DirQuar, kProgramFolder + platform::pathSeparator() + "quarantine");
    for (const std::string* empty :
         {&settings.isSaveReport, &settings.isStartWind, &settings.isSendRep, &settings.Recip,
          &settings.Shed, &settings.Time, &settings.EW, &settings.EM, &settings.isGuard})
        EXPECT_EQ(*empty, "");
    EXPECT_FALSE(store.hasKey(kSettingsKey));
}

TEST_F(MainOpTest, SaveThenInitRoundTripsAllTwelveUnderTheirValueNames) {
    settings.lang = "Deutsch";
    settings.isSaveReport = "1";
    settings.DirRep = "/media/archive/" + std::string(300, 'r');  // longer than any old limit
    settings.DirQuar = "/var/quarantine";
    settings.isStartWind = "0";
    settings.isSendRep = "1";
    settings.Recip = "admin@example.org";
    settings.Shed = "1";
    settings.Time = "07:30";
    settings.EW = "3";
    settings.EM = "14";
    settings.isGuard = "1";
    ASSERT_TRUE(settings.Save());
    MainOp reloaded(root, "/elsewhere");
    reloaded.Init();
    EXPECT_EQ(allValues(reloaded), allValues(settings));
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "Shedule"), "1");
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "DirectoryQuarantine"), "/var/quarantine");
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "EveryWeek"), "3");
}

TEST_F(MainOpTest, SaveWithNothingChangedKeepsTheDefaultsItFilledIn) {
    settings.Init();
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "Language"), "English");
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "DirectoryReports"), kReportsDefault);
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "Guard"), "");
    EXPECT_EQ(root.readAll(kSettingsKey).size(), 12u);
}

}  // namespace
}  // namespace twk
