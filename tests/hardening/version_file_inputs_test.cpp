// version.dat as a broken update server or proxy serves it: the check ends, asks only about a
// version it really read, and a failed download never costs the copy of an earlier start.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/app/app_context.h"
#include "core/settings/main_op.h"
#include "support/full_disk.h"
#include "support/http_server.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

const std::string kEarlierCopy = "[Tarnwick]\r\nVersion=1.45\r\nURL=http://update.example/1.45\r\n";
const std::string kEarlierQuestion = "New version Tarnwick 1.45 is avialable! Go to the homepage?";

class VersionFileInputsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()) << server.error(); }

    void serve(const std::string& name, const std::string& bytes) {
        test::writeFile(site.file(name), bytes);
    }
    void keepEarlierCopy() { test::writeFile(copy(), kEarlierCopy); }
    // Runs the update check against a route of the scripted server.
    void check(const std::string& route) {
        boxes.shown.clear();
        settings.isNew(server.url(route), userFiles.path(), boxes, urls, LangOp());
    }
    std::string copy() const { return userFiles.file("version.dat"); }
    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    // The user folder holds the copy alone: no download left a temporary file behind.
    std::set<std::string> filesInUserFolder() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(userFiles.path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    test::TempDir site, program, userFiles, userSettings, store;
    test::ScriptedHttpServer server{site.path()};
    MainOp settings{Regedit::RootKey(store.path()), program.path()};
    test::ScriptedMessageBoxes boxes;
    test::ScriptedUrlOpener urls;
};

using Texts = std::vector<std::string>;

TEST_F(VersionFileInputsTest, HtmlEmptyAndBinaryFilesAskNothing) {
    serve("html", "<!DOCTYPE html>\n<html><body><h1>Welcome</h1>\n[Tarnwick]</body></html>\n");
    serve("empty", "");
    std::string binary;
    for (int i = 0; i < 8192; ++i) binary += static_cast<char>((i * 131 + 3) % 256);
    serve("binary", binary);
    for (const char* name : {"html", "empty", "binary"}) {
        keepEarlierCopy();
        check(std::string("/file/") + name);
        EXPECT_EQ(questions(), Texts{}) << name;
        EXPECT_EQ(test::readFile(copy()), test::readFile(site.file(name)))
            << "a whole download replaces the copy";
    }
    EXPECT_TRUE(urls.opened.empty());
}

TEST_F(VersionFileInputsTest, ErrorStatusesKeepTheEarlierCopyEvenWithAVersionInTheirBody) {
    serve("error-page", "[Tarnwick]\r\nVersion=6.66\r\nURL=http://evil.example/\r\n");
    for (const char* status : {"404", "500", "503"}) {
        keepEarlierCopy();
        check(std::string("/status/") + status + "/error-page");
        EXPECT_EQ(questions(), Texts{kEarlierQuestion}) << status;
        EXPECT_EQ(test::readFile(copy()), kEarlierCopy) << status;
    }
    EXPECT_EQ(filesInUserFolder(), std::set<std::string>{"version.dat"});
}

TEST_F(VersionFileInputsTest, RedirectsAreFollowedButLoopsAndOtherSchemesAreNot) {
    serve("version.dat", "[Tarnwick]\nVersion=1.50\nURL=https://www.brindle.example/\n");
    keepEarlierCopy();
    check("/redirect/3/version.dat");
    EXPECT_EQ(questions(), Texts{"New version Tarnwick 1.50 is avialable! Go to the homepage?"});

    for (const std::string route :
         {"/loop", "/away?to=file:///etc/passwd", "/away?to=ftp://127.0.0.1/version.dat",
          "/redirect/9/version.dat"}) {
        keepEarlierCopy();
        check(route);
        EXPECT_EQ(questions(), Texts{kEarlierQuestion}) << route;
        EXPECT_EQ(test::readFile(copy()), kEarlierCopy) << route;
    }
    EXPECT_EQ(filesInUserFolder(), std::set<std::string>{"version.dat"});
}

TEST_F(VersionFileInputsTest, DroppedCutAndOversizedTransfersKeepTheEarlierCopy) {
    serve("version.dat", "[Tarnwick]\r\nVersion=1.50\r\nURL=https://www.brindle.example/\r\n" +
                             std::string(4000, ';') + "\r\n");
    serve("huge", "[Tarnwick]\r\nVersion=1.99\r\n" + std::string(3u << 20, 'h'));
    for (const char* route : {"/drop", "/cut/version.dat", "/file/huge", "/endless"}) {
        keepEarlierCopy();
        check(route);
        EXPECT_EQ(questions(), Texts{kEarlierQuestion}) << route;
        EXPECT_EQ(test::readFile(copy()), kEarlierCopy) << route;
    }
    EXPECT_EQ(filesInUserFolder(), std::set<std::string>{"version.dat"});
}

TEST_F(VersionFileInputsTest, TemporaryFilesOfAKilledRunAreGoneAfterTheNextStart) {
    serve("version.dat", "[Tarnwick]\nVersion=1.50\nURL=https://www.brindle.example/\n");
    keepEarlierCopy();
    test::writeFile(copy() + ".tmp.Zk3r9Q", "[Tarnwick]\nVers");
    test::writeFile(userFiles.file("ManualReport.csv.tmp.a1B2c3"), "User;Time\r\n");
    const std::string keyFile = Regedit::RootKey(store.path()).keyFile(kSettingsKey);
    test::writeFile(keyFile + ".tmp.Q1w2e3", "[Software");
    test::ScriptedSaveFileDialog saveFile;
    test::ScriptedFolderPicker folders;
    test::ScriptedHelperLibrary helper;
    test::FixedClock clock;
    AppContext context(platform::Roots{store.path(), "/proc", "/sys"}, program.path(),
                       userFiles.path(), userSettings.path(),
                       Services{boxes, saveFile, folders, urls, helper, clock});
    context.updateUrl = server.url("/drop");
    startUp(context);
    EXPECT_EQ(filesInUserFolder(), std::set<std::string>{"version.dat"});
    EXPECT_FALSE(std::filesystem::exists(keyFile + ".tmp.Q1w2e3"));
}

TEST_F(VersionFileInputsTest, OverlongVersionIsCutInTheQuestion) {
    serve("long", "[Tarnwick]\nVersion=" + std::string(10000, '9') + "\nURL=http://x.example/\n");
    check("/file/long");
    EXPECT_EQ(questions(), Texts{"New version Tarnwick " + std::string(254, '9') +
                                 " is avialable! Go to the homepage?"});
}

TEST_F(VersionFileInputsTest, FullDiskKeepsTheEarlierCopyAndLeavesNoTemporaryFile) {
    serve("version.dat", "[Tarnwick]\nVersion=1.50\nURL=https://www.brindle.example/\n" +
                             std::string(300000, '#'));
    test::FullDisk disk(userFiles.path());
    if (!disk.active()) GTEST_SKIP() << "this machine can neither mount nor limit file sizes";
    keepEarlierCopy();
    disk.fill();
    check("/file/version.dat");
    EXPECT_EQ(questions(), Texts{kEarlierQuestion});
    EXPECT_EQ(test::readFile(copy()), kEarlierCopy);
    std::set<std::string> names = filesInUserFolder();
    names.erase("filler");
    EXPECT_EQ(names, std::set<std::string>{"version.dat"});
}

}  // namespace
}  // namespace twk
