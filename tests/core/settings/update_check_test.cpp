#include <gtest/gtest.h>

#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "support/http_server.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

constexpr const char* kQuestionTitle = "New Version";

class UpdateCheckTest : public ::testing::Test {
protected:
    void publish(const std::string& content) {
        test::writeFile(site.file("Tarnwick/version.dat"), content);
    }
    void check(const std::string& url) {
        settings.isNew(url, userFolder.path(), boxes, urls, LangOp());
    }
    std::string serverUrl() const { return server.url("/Tarnwick/version.dat"); }

    test::TempDir site, programFolder, userFolder;
    test::TempRegistry store;
    test::HttpServer server{site.path()};
    MainOp settings{store.root(), programFolder.path()};
    test::ScriptedMessageBoxes boxes;
    test::ScriptedUrlOpener urls;
};

TEST_F(UpdateCheckTest, SameVersionAsksNothingAndKeepsTheCopy) {
    ASSERT_TRUE(server.running());
    publish("[Tarnwick]\r\nVersion=1.41\r\nURL=http://example.com/get\r\n");
    check(serverUrl());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(test::readFile(userFolder.file("version.dat")),
              "[Tarnwick]\r\nVersion=1.41\r\nURL=http://example.com/get\r\n");
}

TEST_F(UpdateCheckTest, OtherVersionAsksTheExactQuestionAndOkOpensTheAddress) {
    ASSERT_TRUE(server.running());
    publish("[Other]\nVersion=9\n[Tarnwick]\nVersion=1.50\nURL=https://example.com/download\n");
    check(serverUrl());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "New version Tarnwick 1.50 is avialable! Go to the homepage?");
    EXPECT_EQ(boxes.shown[0].title, kQuestionTitle);
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(urls.opened, std::vector<std::string>{"https://example.com/download"});
}

TEST_F(UpdateCheckTest, LowerVersionAsksTooAndCancelOpensNothing) {
    ASSERT_TRUE(server.running());
    publish("[Tarnwick]\nVersion=1.4\nURL=http://example.com/\n");
    boxes.answers = {MsgAnswer::Cancel};
    check(serverUrl());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "New version Tarnwick 1.4 is avialable! Go to the homepage?");
    EXPECT_TRUE(urls.opened.empty());
}

TEST_F(UpdateCheckTest, AddressesThatAreNotWebAddressesAreNeverOpened) {
    ASSERT_TRUE(server.running());
    for (const char* url : {"/usr/bin/xterm", "file:///etc/passwd", "", "javascript:alert(1)"}) {
        publish(std::string("[Tarnwick]\nVersion=2.0\nURL=") + url + "\n");
        check(serverUrl());
    }
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_TRUE(urls.opened.empty());
}

TEST_F(UpdateCheckTest, ServerDownUsesTheEarlierCopyAndNoCopyAsksNothing) {
    const std::string downUrl =
        "http://127.0.0.1:" + std::to_string(test::freeLocalPort()) + "/Tarnwick/version.dat";
    check(downUrl);
    EXPECT_TRUE(boxes.shown.empty()) << "no copy and no server: nothing to announce";

    test::writeFile(userFolder.file("version.dat"), "[Tarnwick]\nVersion=1.45\nURL=http://x/\n");
    check(downUrl);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "New version Tarnwick 1.45 is avialable! Go to the homepage?");
    EXPECT_EQ(test::readFile(userFolder.file("version.dat")),
              "[Tarnwick]\nVersion=1.45\nURL=http://x/\n");
}

TEST_F(UpdateCheckTest, MissingFileOnTheServerKeepsTheEarlierCopy) {
    ASSERT_TRUE(server.running());
    test::writeFile(userFolder.file("version.dat"), "[Tarnwick]\nVersion=1.41\n");
    check(server.url("/Tarnwick/missing.dat"));
    EXPECT_EQ(test::readFile(userFolder.file("version.dat")), "[Tarnwick]\nVersion=1.41\n");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(UpdateCheckTest, ServerThatNeverAnswersEndsTheCheckWithoutAQuestion) {
    test::SilentServer silent;
    check(silent.url("/Tarnwick/version.dat"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(test::exists(userFolder.file("version.dat")));
}

}  // namespace
}  // namespace twk
