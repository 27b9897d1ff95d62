#include <gtest/gtest.h>

#include "core/settings/regedit.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

constexpr const char* kKey = "Software\\Brindle\\Tarnwick";

class RegeditTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Regedit::RootKey root{dir.path()};
};

TEST_F(RegeditTest, TextValuesRoundTripWholeWhateverTheirLength) {
    const std::string longPath = "/media/" + std::string(300, 'x');
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Empty", ""));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Sixty4", std::string(64, 'a')));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Long", longPath));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Odd", "back\\slash \"quoted\"\r\nnext line"));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Empty"), "");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Sixty4"), std::string(64, 'a'));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Long"), longPath);
    EXPECT_EQ(Regedit::GetString(root, kKey, "Odd"), "back\\slash \"quoted\"\r\nnext line");
    EXPECT_EQ(Regedit::GetString(root, kKey, "long"), longPath) << "names ignore case";
}

TEST_F(RegeditTest, MissingKeyReadsEmptyAndCreatesNothingWhileWritingCreatesParents) {
    EXPECT_EQ(Regedit::GetString(root, "Software\\Nobody\\Here", "Value"), "");
    EXPECT_FALSE(test::exists(dir.path() + "/registry"));
    EXPECT_TRUE(Regedit::SaveString(root, "Software\\Nobody\\Here", "Value", "v"));
    EXPECT_TRUE(test::exists(dir.path() + "/registry/HKEY_LOCAL_MACHINE/Software/Nobody/Here.reg"));
    EXPECT_EQ(Regedit::GetString(root, "Software\\Nobody\\Here", "Value"), "v");
}

TEST_F(RegeditTest, ValuesOfOtherTypesReadAsEmptyTextAndSurviveWrites) {
    test::writeFile(root.keyFile(kKey),
                    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n"
                    "\"Number\"=dword:0000002a\n  \"Spaced\" =  \"text\"  \n\"Blob\"=hex:01,02\n");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Number"), "");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Spaced"), "text");
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Other", "x"));
    auto number = root.read(kKey, "Number");
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(number->type, platform::RegValue::Type::Dword);
    EXPECT_EQ(number->dword, 42u);
    EXPECT_EQ(root.read(kKey, "Blob")->text, std::string("\x01\x02"));
}

TEST_F(RegeditTest, StoreWithoutWriteAccessReportsFailureAndKeepsOldValues) {
    ASSERT_TRUE(Regedit::SaveString(root, kKey, "Guard", "1"));
    std::string keyFolder = root.keyFile(kKey);
    test::ReadOnlyFolder readOnly(keyFolder.substr(0, keyFolder.rfind('/')));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    EXPECT_FALSE(Regedit::SaveString(root, kKey, "Guard", "0"));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Guard"), "1");
}

TEST(ReadIniStringTest, FollowsTheProfileRules) {
    test::TempDir dir;
    const std::string file = test::writeFile(
        dir.file("lang.twl"),
        "; comment\n[frmMain]\nlfm_reports = Reports  \r\n  LFM_Options=\"  Options  \"\n"
        "long=" + std::string(300, 'z') + "\n[FRMMAIN]\nlfm_protection=second section\n"
        "[frmReport]\nlfr_save=Save\nlfr_save=Duplicate\n;lfr_send=commented\n");
    EXPECT_EQ(Regedit::ReadIniString("FrmMain", "lfm_reports", file), "Reports");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_options", file), "  Options  ");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "long", file), std::string(254, 'z'));
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_protection", file), "")
        << "only the first section of a name counts";
    EXPECT_EQ(Regedit::ReadIniString("frmReport", "lfr_save", file), "Save");
    EXPECT_EQ(Regedit::ReadIniString("frmReport", "lfr_send", file), "");
    EXPECT_EQ(Regedit::ReadIniString("frmNone", "lfr_save", file), "");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_reports", dir.file("missing.twl")), "");
}

}  // namespace
}  // namespace twk
