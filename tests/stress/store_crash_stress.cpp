// The settings store under fire: writers killed at random points of their saves, many times
// over, while another thread reads the store without pause. Every read must see one whole
// store, never an older one than a read before it, and never none once there was one.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "core/settings/main_op.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

extern char** environ;

namespace twk {
namespace {

using test::allValues;

constexpr int kKills = 500;
constexpr long kReads = 10000;
constexpr long long kGenerationsPerWriter = 1'000'000'000;
constexpr const char* kProgram = "/opt/tarnwick";

// What one read saw: no store yet, one whole generation, or a mix.
struct Seen {
    bool store = false;
    bool whole = false;
    long long generation = -1;
};

// The writer fills every value with marker + 200 'x' + marker.
Seen classify(const MainOp& read) {
    Seen seen;
    if (read.Recip.empty()) {
        MainOp empty(Regedit::RootKey("/nonexistent"), kProgram);
        empty.Init();
        seen.whole = allValues(read) == allValues(empty);
        return seen;
    }
    seen.store = true;
    const std::string& value = read.Recip;
    const size_t x = value.find('x');
    if (x == std::string::npos) return seen;
    const std::string marker = value.substr(0, x);
    const std::string expected = marker + std::string(200, 'x') + marker;
    for (const std::string& other : allValues(read))
        if (other != expected) return seen;
    seen.whole = true;
    seen.generation = std::stoll(marker);
    return seen;
}

struct ReaderTally {
    std::atomic<long> reads{0};
    std::atomic<long> torn{0};
    std::atomic<long> older{0};
    std::atomic<long> lost{0};
    std::atomic<long long> newest{-1};
};

void readWithoutPause(const Regedit::RootKey& root, const std::atomic<bool>& stop,
                      ReaderTally& tally) {
    while (!stop) {
        MainOp read(root, kProgram);
        read.Init();
        const Seen seen = classify(read);
        ++tally.reads;
        if (!seen.whole) {
            ++tally.torn;
        } else if (!seen.store) {
            if (tally.newest >= 0) ++tally.lost;
        } else if (seen.generation < tally.newest) {
            ++tally.older;
        } else {
            tally.newest = seen.generation;
        }
    }
}

pid_t startWriter(const std::string& configDir, long long firstGeneration) {
    const std::string program = std::string(TWK_TESTS_BIN_DIR) + "/settings_writer";
    std::string first = std::to_string(firstGeneration);
    std::string dir = configDir;
    char* argv[] = {const_cast<char*>(program.c_str()), dir.data(), first.data(), nullptr};
    pid_t pid = -1;
    return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

// Waits until the writer has finished a save of its own, so that the kill lands among saves.
bool writerIsSaving(const Regedit::RootKey& root, pid_t writer, long long firstGeneration) {
    for (;;) {
        MainOp read(root, kProgram);
        read.Init();
        const Seen seen = classify(read);
        if (seen.whole && seen.generation >= firstGeneration) return true;
        if (::waitpid(writer, nullptr, WNOHANG) != 0) return false;
        std::this_thread::yield();
    }
}

TEST(StoreCrashStress, KilledWritersAndAConcurrentReaderNeverSeeATornOlderOrMissingStore) {
    test::TempDir dir;
    const Regedit::RootKey root(dir.path());
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> pause(0, 3000);  // microseconds into the saves

    std::atomic<bool> stop{false};
    ReaderTally tally;
    std::thread reader(readWithoutPause, std::cref(root), std::cref(stop), std::ref(tally));
    int kills = 0;
    for (; kills < kKills || tally.reads < kReads; ++kills) {
        const long long first = (kills + 1) * kGenerationsPerWriter;
        const pid_t writer = startWriter(dir.path(), first);
        ASSERT_GT(writer, 0);
        ASSERT_TRUE(writerIsSaving(root, writer, first)) << "writer " << kills << " stopped";
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "writer " << kills << " ended by itself: " << status;
    }
    stop = true;
    reader.join();

    std::printf("%d writers killed, %ld reads during their saves: %ld torn, %ld older, %ld lost\n",
                kills, tally.reads.load(), tally.torn.load(), tally.older.load(),
                tally.lost.load());
    RecordProperty("kills", kills);
    RecordProperty("reads", static_cast<int>(tally.reads));
    EXPECT_GE(kills, kKills);
    EXPECT_GE(tally.reads, kReads);
    EXPECT_EQ(tally.torn, 0);
    EXPECT_EQ(tally.older, 0);
    EXPECT_EQ(tally.lost, 0);

    // A save after all that works and clears what the killed writers left behind (a save that
    // changes nothing does not reach the store).
    MainOp last(root, kProgram);
    last.Init();
    EXPECT_TRUE(classify(last).whole);
    last.isGuard = "1";
    ASSERT_TRUE(last.Save());
    const std::string keyFile = root.keyFile(kSettingsKey);
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(keyFile.substr(0, keyFile.rfind('/'))))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Tarnwick.reg", "Tarnwick.reg.lock"}));
}

}  // namespace
}  // namespace twk
