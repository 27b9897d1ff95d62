#include <gtest/gtest.h>

#include "core/settings/main_op.h"
#include "core/settings/settings_save.h"
#include "platform/privileged_save.h"
#include "platform/process.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

TEST(AutostartTest, StartWithTheSessionFollowsEverySave) {
    test::TempDir config;
    const std::string program = "/opt/my $tarnwick";
    MainOp settings(Regedit::RootKey(config.path()), program,
                    directSettingsWriter(systemSaveTarget({config.path()}, program)));
    const std::string entry = config.file("autostart/org.brindle.tarnwick.desktop");
    settings.Init();
    settings.isStartWind = "1";
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(test::exists(entry));
    const std::string text = test::readFile(entry);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nExec=\"/opt/my \\\\$tarnwick/tarnwick\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nTryExec=/opt/my $tarnwick/tarnwick\n"), std::string::npos) << text;

    settings.isGuard = "1";  // another page's save keeps the entry
    ASSERT_TRUE(settings.Save());
    EXPECT_TRUE(test::exists(entry));
    settings.isStartWind = "0";
    ASSERT_TRUE(settings.Save());
    EXPECT_FALSE(test::exists(entry));
    settings.isGuard = "0";  // and a later save finds nothing to remove
    ASSERT_TRUE(settings.Save());
    EXPECT_FALSE(test::exists(entry));
}

TEST(SettingsHelperTest, RefusesWhatIsNoRequest) {
    const std::string helper = platform::settingsHelperPath(TWK_PROGRAM_DIR);
    const std::string tooMuch(kSettingCount * (kMaxSavedValue + 64) + 1, 'x');
    for (const std::string& input : {std::string("set Password=secret\n"), tooMuch})
        EXPECT_EQ(platform::runProgram({helper}, input), 1);
    EXPECT_EQ(platform::runProgram({helper, "--store=/tmp"}, ""), 1) << "arguments are refused";
}

}  // namespace
}  // namespace twk
