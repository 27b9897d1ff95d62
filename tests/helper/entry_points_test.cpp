#include <gtest/gtest.h>

#include <string>

#include "platform/dynamic_library.h"
#include "platform/roots.h"
#include "twkd.h"

namespace twkd {
namespace {

// The exported functions themselves, from the library the build put in the program folder.
class EntryPointsTest : public ::testing::Test {
protected:
    platform::DynamicLibrary library{
        platform::joinPath(TWK_PROGRAM_DIR, platform::DynamicLibrary::fileName("twkd"))};
    decltype(&::SendMailOut) send =
        reinterpret_cast<decltype(&::SendMailOut)>(library.symbol("SendMailOut"));
    decltype(&::GetDriveInfoByPath) describe =
        reinterpret_cast<decltype(&::GetDriveInfoByPath)>(library.symbol("GetDriveInfoByPath"));
};

TEST_F(EntryPointsTest, NullPointersAreFailuresNotCrashes) {
    ASSERT_TRUE(send && describe);
    char root[] = "/";
    std::string buffer(255, ' ');
    EXPECT_NE(send(nullptr, "subject", "body", ""), 0);
    EXPECT_NE(send("user@example.com", nullptr, "body", ""), 0);
    EXPECT_NE(send("user@example.com", "subject", nullptr, ""), 0);
    EXPECT_NE(send("user@example.com", "subject", "body", nullptr), 0);
    EXPECT_EQ(describe(nullptr, buffer.data()), 0);
    EXPECT_EQ(describe(root, nullptr), 0);
}

TEST_F(EntryPointsTest, UnknownRootAnswersZeroAndLeavesBothStrings) {
    ASSERT_TRUE(describe);
    char root[] = "/no/such/root";
    std::string buffer(255, ' ');
    EXPECT_EQ(describe(root, buffer.data()), 0);
    EXPECT_EQ(std::string(root), "/no/such/root");
    EXPECT_EQ(buffer, std::string(255, ' '));
}

}  // namespace
}  // namespace twkd
