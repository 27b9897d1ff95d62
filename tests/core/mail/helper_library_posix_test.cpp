#include <gtest/gtest.h>

#include "core/mail/helper_library.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

TEST(LoadedHelperLibraryTest, CallsTheLibraryInTheProgramFolder) {
    LoadedHelperLibrary library(TWK_PROGRAM_DIR);
    std::string root = "/no/such/root";
    std::string buffer(255, ' ');
    EXPECT_EQ(library.GetDriveInfoByPath(root, buffer), 0) << "the library's own answer";
    EXPECT_EQ(root, "/no/such/root");
    EXPECT_EQ(buffer, std::string(255, ' '));
    EXPECT_EQ(library.SendMailOut("not an address", "subject", "body", ""), 1)
        << "the library's answer for an unusable recipient";
}

TEST(LoadedHelperLibraryTest, FolderWithoutTheLibraryAnswersFailedCalls) {
    test::TempDir empty;
    LoadedHelperLibrary library(empty.path());
    std::string root = "/";
    std::string buffer(255, ' ');
    EXPECT_EQ(library.GetDriveInfoByPath(root, buffer), LoadedHelperLibrary::kFailed);
    EXPECT_EQ(library.SendMailOut("user@example.com", "subject", "body", ""),
              LoadedHelperLibrary::kFailed);
    EXPECT_EQ(buffer, std::string(255, ' '));
}

}  // namespace
}  // namespace twk
