// The helper library loaded by name ("twkd.dll") from a folder, here a stand-in with the same
// two entry points and calling convention.
#include <gtest/gtest.h>

#include "core/mail/helper_library.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

TEST(LoadedHelperLibraryTest, CallsTheLibraryByNameAndReadsBothStringsBack) {
    LoadedHelperLibrary library(TWK_STAND_IN_DIR);
    std::string root = "probe";
    std::string buffer(255, ' ');
    EXPECT_EQ(library.GetDriveInfoByPath(root, buffer), 1);
    EXPECT_EQ(root, "PROBE");
    EXPECT_EQ(buffer.size(), 255u);
    EXPECT_EQ(std::string(buffer.c_str()), "probed");
    root = "Q:\\";
    EXPECT_EQ(library.GetDriveInfoByPath(root, buffer), 0) << "no such drive";
}

TEST(LoadedHelperLibraryTest, MailArgumentsArriveInOrder) {
    test::TempDir dir;
    const std::string attachment = test::writeFile(dir.file("ManualReport.csv"), "a;b\r\n");
    LoadedHelperLibrary library(TWK_STAND_IN_DIR);
    EXPECT_EQ(library.SendMailOut("user@example.com", "subject", "body", ""), 0);
    EXPECT_EQ(library.SendMailOut("user@example.com", "subject", "body", attachment), 0);
    EXPECT_EQ(library.SendMailOut("user@example.com", "subject", "body", dir.file("gone")), 1);
    EXPECT_EQ(library.SendMailOut("subject", "user@example.com", "body", ""), 1);
    EXPECT_EQ(library.SendMailOut("user@example.com", "", "body", ""), 1);
}

TEST(LoadedHelperLibraryTest, MissingOrBrokenLibraryAnswersFailedCalls) {
    test::TempDir empty, broken;
    test::writeFile(broken.file("twkd.dll"), "not a library");
    for (const std::string& folder : {empty.path(), broken.path()}) {
        LoadedHelperLibrary library(folder);
        std::string root = "probe";
        std::string buffer(255, ' ');
        EXPECT_EQ(library.GetDriveInfoByPath(root, buffer), LoadedHelperLibrary::kFailed);
        EXPECT_EQ(library.SendMailOut("user@example.com", "subject", "body", ""),
                  LoadedHelperLibrary::kFailed);
        EXPECT_EQ(buffer, std::string(255, ' '));
    }
}

}  // namespace
}  // namespace twk
