#include "core/settings/settings_save.h"

#include <gtest/gtest.h>

#include "core/settings/main_op.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

// A request as the page sends it: every setting once, Language changed, the folders filled in.
std::string validRequest() {
    std::string text;
    for (const std::string& name : settingValueNames()) {
        const char* verb = name == "Language"                ? "set "
                           : name.rfind("Directory", 0) == 0 ? "default "
                                                             : "keep ";
        text += verb + name + "=x\n";
    }
    return text;
}

// The valid request with the line of name replaced.
std::string withLine(const std::string& name, const std::string& line) {
    std::string text = validRequest();
    const std::size_t at = text.find(" " + name + "=");
    const std::size_t start = text.rfind('\n', at) + 1;  // 0 for the first line
    return text.replace(start, text.find('\n', at) - start, line);
}

TEST(SaveRequestTest, OnlyTheTwelveSettingsWithPlainBoundedValuesPass) {
    const auto accepted = parseSaveRequest(validRequest());
    ASSERT_TRUE(accepted);
    EXPECT_EQ(formatSaveRequest(*accepted), validRequest());
    ASSERT_TRUE(parseSaveRequest(withLine("Recipient", "keep Recipient=")));
    const std::string latin1Path = "/srv/r\xe9ports";
    ASSERT_TRUE(
        parseSaveRequest(withLine("DirectoryReports", "set DirectoryReports=" + latin1Path)));
    const std::string longest(kMaxSavedValue, 'p');
    ASSERT_TRUE(parseSaveRequest(withLine("DirectoryReports", "set DirectoryReports=" + longest)));

    const std::string all = validRequest();
    const struct {
        const char* why;
        std::string text;
    } refused[] = {
        {"nothing", ""},
        {"a setting missing", all.substr(all.find('\n') + 1)},
        {"a setting twice", all + "keep Guard=1\n"},
        {"an unknown name", all.substr(all.find('\n') + 1) + "set Password=x\n"},
        {"a name in another case", withLine("Guard", "keep guard=1")},
        {"another verb", withLine("Guard", "put Guard=1")},
        {"no equals sign", withLine("Guard", "keep Guard")},
        {"no final line feed", all.substr(0, all.size() - 1)},
        {"a blank line", all + "\n"},
        {"CR LF line ends", withLine("Guard", "keep Guard=1\r")},
        {"a tab", withLine("DirectoryReports", "set DirectoryReports=/a\tb")},
        {"an escape", withLine("Recipient", "set Recipient=a\x1b[2Jb")},
        {"DEL", withLine("Recipient", "set Recipient=a\x7f")},
        {"a NUL", withLine("Recipient", std::string("set Recipient=a\0b", 17))},
        {"an over-long value",
         withLine("DirectoryReports", "set DirectoryReports=" + longest + "p")},
    };
    for (const auto& input : refused) EXPECT_FALSE(parseSaveRequest(input.text)) << input.why;
}

class ConcurrentSaveTest : public ::testing::Test {
protected:
    test::TempRegistry store;
    SaveTarget target{store.root(), {}, "/opt/tarnwick"};
    // The helper's route without pkexec: the request crosses as text and is applied there.
    SettingsWriter throughText = [this](const SaveRequest& request) {
        const auto received = parseSaveRequest(formatSaveRequest(request));
        return received && applySave(target, *received);
    };
};

TEST_F(ConcurrentSaveTest, TwoPagesSavedOneAfterTheOtherKeepBothChanges) {
    MainOp protection(store.root(), "/opt/tarnwick", throughText);
    MainOp options(store.root(), "/opt/tarnwick");
    protection.Init();  // both open on an empty store: "English" is a default they filled in
    options.Init();
    options.lang = "Deutsch";
    options.Recip = "admin@example.org";
    ASSERT_TRUE(options.Save());
    protection.isGuard = "1";
    ASSERT_TRUE(protection.Save());
    EXPECT_EQ(protection.lang, "Deutsch") << "the page holds the stored state after its save";

    options.Recip = "";  // emptied by one page...
    ASSERT_TRUE(options.Save());
    protection.isGuard = "0";  // ...and kept empty by the other, switched back to its first state
    ASSERT_TRUE(protection.Save());

    MainOp reloaded(store.root(), "/elsewhere");
    reloaded.Init();
    EXPECT_EQ(reloaded.isGuard, "0");
    EXPECT_EQ(reloaded.lang, "Deutsch");
    EXPECT_EQ(reloaded.Recip, "");
    EXPECT_EQ(reloaded.DirRep, platform::joinPath("/opt/tarnwick", "reports"))
        << "the defaults the pages showed are stored";
    EXPECT_EQ(store.root().readAll(kSettingsKey).size(), kSettingCount);
}

TEST_F(ConcurrentSaveTest, ASaveThatChangesNothingDoesNotReachTheStoreOnceItIsWhole) {
    int writes = 0;
    MainOp settings(store.root(), "/opt/tarnwick", [&](const SaveRequest& request) {
        ++writes;
        return applySave(target, request);
    });
    ASSERT_TRUE(Regedit::SaveString(store.root(), kSettingsKey, "Language", ""));
    settings.Init();
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(writes, 1) << "the defaults were not stored yet";
    EXPECT_EQ(Regedit::GetString(store.root(), kSettingsKey, "Language"), "English");
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(writes, 1);
    settings.isGuard = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(writes, 2);
}

TEST_F(ConcurrentSaveTest, ARefusedSaveKeepsThePagesValuesAndTheStore) {
    MainOp settings(store.root(), "/opt/tarnwick", [](const SaveRequest&) { return false; });
    settings.Init();
    settings.isGuard = "1";
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(settings.isGuard, "1");
    EXPECT_FALSE(store.hasKey(kSettingsKey));
}

}  // namespace
}  // namespace twk
