// A save through the settings helper started elevated ("runas"), on the machine's own store, as
// an administrator who is not elevated saves. Wine starts the helper without a prompt, so what it
// shows is the helper started, the request handed over through its pipe, the store and the Run
// entry written, and what the helper refuses; the prompt itself is for Windows to show.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/settings/main_op.h"
#include "core/settings/settings_save.h"
#include "platform/privileged_save.h"
#include "platform/store.h"

namespace twk {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string fullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

// The helper writes only the machine's store, so the test works on that and takes away what it
// wrote; a machine with settings of its own is left alone.
class ElevatedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!machine.readAll(kSettingsKey).empty() || machine.read(kRunKey, "Tarnwick"))
            GTEST_SKIP() << "this machine holds Tarnwick settings, which the test would change";
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
        HKEY run = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            ::RegDeleteValueA(run, "Tarnwick");
            ::RegCloseKey(run);
        }
    }
    std::string stored(const std::string& name) const {
        const std::optional<platform::RegValue> value = machine.read(kSettingsKey, name);
        return value ? value->text : "(missing)";
    }

    const platform::RegistryRoot machine{""};
    const std::string programFolder = fullPath(TWK_PROGRAM_DIR);
    const std::string helper = platform::settingsHelperPath(programFolder);
};

// One test, as every step works on the machine's one store.
TEST_F(ElevatedSaveTest, TheElevatedHelperWritesWhatItAcceptsAndNothingElse) {
    MainOp settings(machine, programFolder, helperSettingsWriter(helper));
    settings.Init();
    settings.lang = "Deutsch";
    settings.isGuard = "1";
    settings.isStartWind = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(machine.readAll(kSettingsKey).size(), kSettingCount);
    EXPECT_EQ(stored("Language"), "Deutsch");
    EXPECT_EQ(stored("Guard"), "1");
    // The helper names the program beside itself.
    const std::optional<platform::RegValue> entry = machine.read(kRunKey, "Tarnwick");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, "\"" + programFolder + "\\tarnwick.exe\"");
    settings.isStartWind = "0";
    ASSERT_TRUE(settings.Save());
    EXPECT_FALSE(machine.read(kRunKey, "Tarnwick"));
    EXPECT_EQ(stored("StartWindows"), "0");

    const platform::RegValues before = machine.readAll(kSettingsKey);
    const std::string tooMuch(kSettingCount * (kMaxSavedValue + 64) + 1, 'x');
    for (const std::string& request : {std::string("set Password=secret\n"), tooMuch})
        EXPECT_EQ(platform::runSettingsHelper(helper, request), 1) << request.substr(0, 20);
    // A helper that does not start, as when the prompt is cancelled: the page's save fails.
    MainOp notStarted(machine, programFolder,
                      helperSettingsWriter(platform::settingsHelperPath(programFolder + "\\none")));
    notStarted.Init();
    notStarted.isGuard = "0";
    EXPECT_FALSE(notStarted.Save());
    EXPECT_EQ(machine.readAll(kSettingsKey).size(), before.size());
    EXPECT_EQ(stored("Guard"), "1");
    EXPECT_EQ(stored("StartWindows"), "0");
}

}  // namespace
}  // namespace twk
