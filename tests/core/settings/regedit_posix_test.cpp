#include <gtest/gtest.h>

#include "core/settings/regedit.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

constexpr const char* kKey = "Software\\Brindle\\Tarnwick";

class RegeditFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Regedit::RootKey root{dir.path()};
};

TEST_F(RegeditFileTest, KeyFileInExportFormWithBlanksAndOtherTypesIsReadAndKept) {
    test::writeFile(root.keyFile(kKey),
                    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n"
                    "\"Spaced\"=\"another key's\"\n"
                    "[hkey_local_machine\\software\\brindle\\tarnwick]\n"
                    "\"Number\"=dword:0000002a\n  \"Spaced\" =  \"text\"  \n\"Blob\"=hex:01,02\n");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Number"), "");
    EXPECT_EQ(Regedit::GetString(root, kKey, "Spaced"), "text");
    EXPECT_TRUE(Regedit::SaveString(root, kKey, "Other", "x"));
    EXPECT_EQ(root.read(kKey, "Number").value().dword, 42u);
    EXPECT_EQ(root.read(kKey, "Blob").value().text, std::string("\x01\x02"));
    EXPECT_EQ(root.readAll(kKey).size(), 4u) << "the other key's value is not the key's";
    EXPECT_TRUE(
        test::exists(dir.path() + "/registry/HKEY_LOCAL_MACHINE/Software/Brindle/Tarnwick.reg"));
}

TEST_F(RegeditFileTest, StoreWithoutWriteAccessReportsFailureAndKeepsOldValues) {
    ASSERT_TRUE(Regedit::SaveString(root, kKey, "Guard", "1"));
    std::string keyFolder = root.keyFile(kKey);
    test::ReadOnlyFolder readOnly(keyFolder.substr(0, keyFolder.rfind('/')));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    EXPECT_FALSE(Regedit::SaveString(root, kKey, "Guard", "0"));
    EXPECT_EQ(Regedit::GetString(root, kKey, "Guard"), "1");
}

}  // namespace
}  // namespace twk
