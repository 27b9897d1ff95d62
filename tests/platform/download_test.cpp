#include "platform/download.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

namespace platform {
namespace {

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }

    twk::test::TempDir site, target;
    twk::test::HttpServer server{site.path()};
    const std::string copy = target.file("version.dat");
};

TEST_F(DownloadTest, AWholeTransferReplacesTheCopyAndLeavesNothingElse) {
    twk::test::writeFile(copy, "earlier");
    twk::test::writeFile(site.file("v.dat"), "[Tarnwick]\r\nVersion=1.50\r\n");
    EXPECT_TRUE(downloadFile(server.url("/v.dat"), copy));
    EXPECT_EQ(twk::test::readFile(copy), "[Tarnwick]\r\nVersion=1.50\r\n");
    EXPECT_EQ(listFiles(target.path()), std::vector<std::string>{"version.dat"});
}

TEST_F(DownloadTest, FailuresKeepTheEarlierCopyAndLeaveNoTemporaryFile) {
    twk::test::writeFile(copy, "earlier");
    twk::test::writeFile(site.file("big.dat"), std::string(5000, 'b'));
    DownloadLimits small;
    small.maxBytes = 1000;
    EXPECT_FALSE(downloadFile(server.url("/big.dat"), copy, small)) << "too large";
    EXPECT_FALSE(downloadFile(server.url("/missing.dat"), copy)) << "404";
    EXPECT_FALSE(downloadFile("file:///" + site.file("big.dat"), copy)) << "not a web address";
    EXPECT_FALSE(downloadFile("ftp://127.0.0.1/big.dat", copy));
    EXPECT_EQ(twk::test::readFile(copy), "earlier");
    EXPECT_EQ(listFiles(target.path()), std::vector<std::string>{"version.dat"});
}

}  // namespace
}  // namespace platform
