#include "core/settings/regedit.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

constexpr const char* kKey = "Software\\Brindle\\Tarnwick";

class RegeditTest : public ::testing::Test {
protected:
    test::TempRegistry store;
    Regedit::RootKey root = store.root();
};

TEST_F(RegeditTest, TextValuesRoundTripWholeWhateverTheirLength) {
    const std::string longPath = "/media/" + std::string(300, 'x');
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Empty", ""));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Sixty4", std::string(64, 'a')));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Sixty5", std::string(65, 'b')));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Long", longPath));
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Odd", "back\\slash \"quoted\"\r\nnext line"));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Empty"), "");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Sixty4"), std::string(64, 'a'));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Sixty5"), std::string(65, 'b'));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Long"), longPath);
    EXPECT_EQ(Regedit::GetString(root, kKey, "Odd"), "back\\slash \"quoted\"\r\nnext line");
    EXPECT_EQ(Regedit::GetString(root, kKey, "long"), longPath) << "names ignore case";
}

TEST_F(RegeditTest, MissingKeyReadsEmptyAndCreatesNothingWhileWritingCreatesParents) {
    EXPECT_EQ(Regedit::GetString(root, "Software\\Nobody\\Here", "Value"), "");
    EXPECT_FALSE(store.hasKey("Software\\Nobody"));
    EXPECT_TRUE(Regedit::SaveString(root, "Software\\Nobody\\Here", "Value", "v"));
    EXPECT_TRUE(store.hasKey("Software\\Nobody"));
    EXPECT_TRUE(store.hasKey("Software\\Nobody\\Here"));
    EXPECT_EQ(Regedit::GetString(root, "Software\\Nobody\\Here", "Value"), "v");
}

TEST_F(RegeditTest, ValuesOfOtherTypesReadAsEmptyTextAndSurviveWrites) {
    const platform::RegValue blob{platform::RegValue::Type::Other, std::string("\x01\x02"), 0};
    ASSERT_TRUE(root.write(kKey, {{"Number", platform::RegValue::number(42)}, {"Blob", blob}}));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Number"), "");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Blob"), "");
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Other", "x"));
    auto number = root.read(kKey, "Number");
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(number->type, platform::RegValue::Type::Dword);
    EXPECT_EQ(number->dword, 42u);
    EXPECT_EQ(root.read(kKey, "Blob").value().text, std::string("\x01\x02"));
    const Regedit::KeySnapshot snapshot(root, kKey);
    EXPECT_EQ(snapshot.GetString("Other"), "x");
    EXPECT_EQ(snapshot.GetString("Number"), "");
}

TEST(ReadIniStringTest, FollowsTheProfileRules) {
    test::TempDir dir;
    const std::string file = test::writeFile(
        dir.file("lang.twl"),
        "; comment\n[frmMain]\nlfm_reports = Reports  \r\n  LFM_Options=\"  Options  \"\n"
        "long=" +
            std::string(300, 'z') + "\nfull=" + std::string(254, 'f') +
            "\n"
            "[FRMMAIN]\nlfm_protection=second section\n"
            "[frmReport]\nlfr_save=Save\nlfr_save=Duplicate\n;lfr_send=commented\n");
    EXPECT_EQ(Regedit::ReadIniString("FrmMain", "lfm_reports", file), "Reports");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_options", file), "  Options  ");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "long", file), std::string(254, 'z'));
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "full", file), std::string(254, 'f'));
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_protection", file), "")
        << "only the first section of a name counts";
    EXPECT_EQ(Regedit::ReadIniString("frmReport", "lfr_save", file), "Save");
    EXPECT_EQ(Regedit::ReadIniString("frmReport", "lfr_send", file), "");
    EXPECT_EQ(Regedit::ReadIniString("frmNone", "lfr_save", file), "");
    EXPECT_EQ(Regedit::ReadIniString("frmMain", "lfm_reports", dir.file("missing.twl")), "");
}

}  // namespace
}  // namespace twk
