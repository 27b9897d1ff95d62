// Every reader of a file from outside over what a careless administrator or a hostile user can
// put at its path: a named pipe, a link to /dev/zero, a folder, a file larger than the reader's
// bound. Each reader returns with its documented outcome, and leaves the thing as it found it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/i18n/lang_op.h"
#include "core/reports/report_loader.h"
#include "core/settings/main_op.h"
#include "helper/mail_settings.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

enum class Thing { Pipe, LinkToZero, Folder, OverBound };

constexpr Thing kThings[] = {Thing::Pipe, Thing::LinkToZero, Thing::Folder, Thing::OverBound};

const char* nameOf(Thing thing) {
    switch (thing) {
        case Thing::Pipe:
            return "named pipe";
        case Thing::LinkToZero:
            return "link to /dev/zero";
        case Thing::Folder:
            return "folder";
        case Thing::OverBound:
            return "file over the bound";
    }
    return "";
}

// Puts thing at path; a file over bound is sparse, so it costs no disk space.
void place(Thing thing, const std::string& path, std::uint64_t bound) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    switch (thing) {
        case Thing::Pipe:
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
            break;
        case Thing::LinkToZero:
            ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0);
            break;
        case Thing::Folder:
            ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
            break;
        case Thing::OverBound: {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(bound + 1)), 0);
            ::close(fd);
        }
    }
}

// The thing is still what was put there.
void expectUntouched(Thing thing, const std::string& path, std::uint64_t bound) {
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0) << nameOf(thing);
    switch (thing) {
        case Thing::Pipe:
            EXPECT_TRUE(S_ISFIFO(info.st_mode));
            break;
        case Thing::LinkToZero:
            EXPECT_TRUE(S_ISLNK(info.st_mode));
            break;
        case Thing::Folder:
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            break;
        case Thing::OverBound:
            EXPECT_EQ(static_cast<std::uint64_t>(info.st_size), bound + 1);
            break;
    }
}

TEST(OutsideFilesTest, ReportFilesAreListedOnlyWhenRegularAndNamedWhenTooLargeToHold) {
    for (Thing thing : kThings) {
        test::TempDir dir;
        const std::string folder = dir.file("r");
        test::writeFile(folder + "/a.log", "first;u;01.02.2024 10:00\r\n");
        test::writeFile(folder + "/c.log", "last;u;01.02.2024 11:00\r\n");
        place(thing, folder + "/b.log", ReportMemoryLimit());
        ReportTable table;
        DateList dates;
        const ReportLoad load =
            RefreshReports(ReportKind::Devices, folder, std::string(kAllDates), table, dates);
        ASSERT_EQ(table.rowCount(), 2u) << nameOf(thing);
        if (thing == Thing::OverBound) {
            ASSERT_EQ(load.problems.size(), 1u);
            EXPECT_EQ(load.problems[0].path, folder + "/b.log");
            EXPECT_EQ(load.problems[0].what(), "is too large to be read");
        } else {
            EXPECT_TRUE(load.problems.empty()) << nameOf(thing) << " is no report file";
        }
        expectUntouched(thing, folder + "/b.log", ReportMemoryLimit());
    }
}

TEST(OutsideFilesTest, KernelFoldersAsReportFolderEndAndNameWhatCannotBeHeld) {
    // /proc holds kmsg, which blocks a reader until the kernel logs; /proc/self holds pagemap,
    // which reports no size and reads on for as much memory as the process spans.
    for (const char* folder : {"/proc", "/proc/self"}) {
        ReportTable table;
        DateList dates;
        const ReportLoad load =
            LoadReports(ReportKind::Devices, folder, std::string(kAllDates), table, dates);
        EXPECT_GT(table.rowCount(), 0u) << folder << ": its plain files are read";
        EXPECT_LE(table.memoryUse(), ReportMemoryLimit()) << folder;
        std::vector<std::string> named;
        for (const ReportProblem& problem : load.problems) named.push_back(problem.path);
        const std::string endless = std::string(folder) + (folder[5] ? "/pagemap" : "/kmsg");
        if (std::filesystem::is_regular_file(endless)) {  // containers may mask it with a device
            EXPECT_NE(std::find(named.begin(), named.end(), endless), named.end()) << endless;
        }
    }
}

#ifndef __SANITIZE_ADDRESS__  // the sanitizer's shadow memory alone is over any data limit
// Loads folder with the process's data limited, says what the table holds, and ends the process.
[[noreturn]] void loadUnderADataLimit(const std::string& folder) {
    // The memory for reports becomes a quarter of this: about 1.8 times a large file.
    const rlimit data{rlim_t{512} << 20, rlim_t{512} << 20};
    if (::setrlimit(RLIMIT_DATA, &data) != 0) std::_Exit(3);
    ReportTable table;
    DateList dates;
    const ReportLoad load =
        RefreshReports(ReportKind::Devices, folder, std::string(kAllDates), table, dates);
    std::string held;
    for (std::size_t row = 0; row < table.rowCount(); ++row) held += table.cell(row, 0);
    const bool cNamed = load.problems.size() == 1 && load.problems[0].path == folder + "/c.log" &&
                        load.problems[0].what() == "is too large to be read";
    std::fprintf(stderr, "held %s, c named %d\n", held.c_str(), cNamed);
    std::_Exit(held == "abd" && cNamed ? 0 : 1);
}

// Files are read on several cores at once, each within a share of the memory for reports. A file
// that fits in what the table leaves is held even when its share was smaller, and the one after
// it, which does not fit, is named; as one reading after the other would have it.
TEST(OutsideFilesTest, WhichLargeReportsAreHeldDependsOnTheirSizesAlone) {
    test::TempDir dir;
    const std::string folder = dir.file("r");
    constexpr std::size_t kLarge = std::size_t{70} << 20;
    test::writeFile(folder + "/a.log", "a;u;01.02.2024 10:00\n");
    test::writeFile(folder + "/b.log", "b;u;01.02.2024 10:00;" + std::string(kLarge, 'x') + "\n");
    test::writeFile(folder + "/c.log", "c;u;01.02.2024 10:00;" + std::string(kLarge, 'x') + "\n");
    test::writeFile(folder + "/d.log", "d;u;01.02.2024 10:00\n");
    EXPECT_EXIT(loadUnderADataLimit(folder), ::testing::ExitedWithCode(0), "held abd, c named 1");
}
#endif

TEST(OutsideFilesTest, StoreThatIsNoRegularFileGivesTheDefaultsAndIsNeverReplaced) {
    for (Thing thing : kThings) {
        test::TempDir dir;
        const Regedit::RootKey root(dir.path());
        const std::string keyFile = root.keyFile(kSettingsKey);
        place(thing, keyFile, platform::kKeyFileLimit);
        MainOp settings(root, "/opt/tarnwick");
        settings.Init();
        EXPECT_EQ(settings.lang, "English") << nameOf(thing);
        EXPECT_EQ(settings.DirRep, "/opt/tarnwick/reports") << nameOf(thing);
        settings.isGuard = "1";
        EXPECT_FALSE(settings.Save()) << nameOf(thing);
        expectUntouched(thing, keyFile, platform::kKeyFileLimit);
    }
}

TEST(OutsideFilesTest, LanguageFileThatIsNoRegularFileFallsBackToEnglishAndOneTooLargeReadsEmpty) {
    for (Thing thing : kThings) {
        test::TempDir program, store;
        test::writeFile(program.file("languages/English.twl"), "[frmMain]\nlfm_reports=Reports\n");
        place(thing, program.file("languages/Edited.twl"), kLanguageFileLimit);
        MainOp settings(Regedit::RootKey(store.path()), program.path());
        settings.lang = "Edited";
        LangOp captions;
        captions.Init(settings);
        // A file too large is a file all the same: its captions are empty, as for a binary one.
        EXPECT_EQ(captions.lfm_reports, thing == Thing::OverBound ? "" : "Reports")
            << nameOf(thing);
        expectUntouched(thing, program.file("languages/Edited.twl"), kLanguageFileLimit);
    }
}

TEST(OutsideFilesTest, VersionFileThatIsNoRegularFileAsksNothing) {
    for (Thing thing : kThings) {
        test::TempDir program, user, store;
        place(thing, user.file("version.dat"), Regedit::kIniFileLimit);
        const MainOp settings(Regedit::RootKey(store.path()), program.path());
        test::ScriptedMessageBoxes boxes;
        test::ScriptedUrlOpener urls;
        // Nobody answers there, so the copy of an earlier start is read.
        settings.isNew("http://127.0.0.1:1/Tarnwick/version.dat", user.path(), boxes, urls,
                       LangOp());
        EXPECT_TRUE(boxes.shown.empty()) << nameOf(thing);
        expectUntouched(thing, user.file("version.dat"), Regedit::kIniFileLimit);
    }
}

TEST(OutsideFilesTest, MailSettingsThatAreNoRegularFileGiveTheDefaults) {
    for (Thing thing : kThings) {
        test::TempDir config;
        platform::Roots roots;
        roots.configDir = config.path();
        place(thing, twkd::mailSettingsFile(roots), twkd::kMailSettingsFileLimit);
        const twkd::MailSettings read = twkd::readMailSettings(roots);
        const twkd::MailSettings defaults;
        EXPECT_EQ(read.server, defaults.server) << nameOf(thing);
        EXPECT_EQ(read.sender, defaults.sender) << nameOf(thing);
        EXPECT_EQ(read.timeoutSeconds, defaults.timeoutSeconds) << nameOf(thing);
    }
}

}  // namespace
}  // namespace twk
