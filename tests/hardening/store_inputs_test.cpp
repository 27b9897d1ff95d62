// The settings store file as a careless hand edit, a torn copy, a broken disk or a full disk
// leaves it: the program reads what can be read, and a save never destroys what it could not
// read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "core/settings/main_op.h"
#include "support/full_disk.h"
#include "support/read_only.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using test::allValues;

constexpr const char* kProgram = "/opt/tarnwick";

// Names in the store's folder, the key file and its lock alone when nothing was left behind.
std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class StoreInputsTest : public ::testing::Test {
protected:
    MainOp load() const {
        MainOp settings(root, kProgram);
        settings.Init();
        return settings;
    }
    // A store as a save leaves it, with one more value that belongs to the guard service.
    MainOp saveFullStore() {
        MainOp settings(root, kProgram);
        settings.lang = "Deutsch";
        settings.isSaveReport = "1";
        settings.DirRep = "/srv/reports";
        settings.DirQuar = "/srv/quarantine";
        settings.isStartWind = "1";
        settings.isSendRep = "1";
        settings.Recip = "admin@customer.example";
        settings.Shed = "1";
        settings.Time = "07:30";
        settings.EW = "3";
        settings.EM = "14";
        settings.isGuard = "1";
        EXPECT_TRUE(settings.Save());
        EXPECT_TRUE(root.write(kSettingsKey, {{"ServiceState", platform::RegValue::number(3)}}));
        return settings;
    }
    std::string keyFile() const { return root.keyFile(kSettingsKey); }
    std::string keyFolder() const { return keyFile().substr(0, keyFile().rfind('/')); }

    test::TempDir dir;
    Regedit::RootKey root{dir.path()};
};

TEST_F(StoreInputsTest, CutAtAnyByteReadsEachValueWholeOrNotAtAllAndASaveKeepsWhatWasRead) {
    const std::vector<std::string> saved = allValues(saveFullStore());
    const std::string whole = test::readFile(keyFile());
    MainOp empty(Regedit::RootKey(dir.file("empty")), kProgram);
    empty.Init();
    const std::vector<std::string> fallback = allValues(empty);
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        test::writeFile(keyFile(), whole.substr(0, cut));
        const std::vector<std::string> read = allValues(load());
        for (size_t i = 0; i < read.size(); ++i)
            ASSERT_TRUE(read[i] == saved[i] || read[i] == fallback[i])
                << "value " << i << " read as \"" << read[i] << "\" from the first " << cut
                << " bytes";
        if (cut % 61 != 0) continue;
        // Saving what was read keeps it, and keeps the service's value if it was readable.
        const bool serviceValueRead = root.read(kSettingsKey, "ServiceState").has_value();
        ASSERT_TRUE(load().Save());
        EXPECT_EQ(allValues(load()), read) << "after a save of the first " << cut << " bytes";
        EXPECT_EQ(root.read(kSettingsKey, "ServiceState").has_value(), serviceValueRead);
    }
}

TEST_F(StoreInputsTest, HandEditWithOddSpacingLineEndsAndCaseReadsAsMeant) {
    test::writeFile(keyFile(),
                    "Windows Registry Editor Version 5.00\r\n\r\n; edited by hand\r\n"
                    "[HKEY_LOCAL_MACHINE\\Software\\Brindle\\Tarnwick]\r\n"
                    "   \"language\"   =   \"Deutsch\"   \r\n"
                    "\t\"DirectoryReports\"\t=\t\"/srv/reports\"\r\n"
                    "\r\n"
                    "\"GUARD\"=\"1\"\r\n"
                    "\"Guard\" = \"0\"\r\n"
                    "Time=08:00\r\n"
                    "\"Shedule\"=dword:00000001\r\n"
                    "\"ServiceState\"=dword:00000003\r\n"
                    "\"Recipient\"=\"admin@customer.example\"");  // no line end at all
    MainOp settings = load();
    EXPECT_EQ(settings.lang, "Deutsch");
    EXPECT_EQ(settings.DirRep, "/srv/reports");
    EXPECT_EQ(settings.isGuard, "0") << "a later line for the same name wins, as on import";
    EXPECT_EQ(settings.Time, "") << "a name without quotes is no value";
    EXPECT_EQ(settings.Shed, "") << "a number is not text";
    EXPECT_EQ(settings.Recip, "admin@customer.example");

    settings.isSaveReport = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(allValues(load()), allValues(settings));
    auto service = root.read(kSettingsKey, "ServiceState");
    ASSERT_TRUE(service.has_value()) << "the service's own value survives the save";
    EXPECT_EQ(service->dword, 3u);
}

TEST_F(StoreInputsTest, BinaryStoreGivesTheDefaultsAndTheNextSaveWritesAWholeStore) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
    test::writeFile(keyFile(), bytes);
    MainOp settings = load();
    EXPECT_EQ(settings.lang, "English");
    EXPECT_EQ(settings.DirRep, "/opt/tarnwick/reports");
    settings.isGuard = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(allValues(load()), allValues(settings));
}

TEST_F(StoreInputsTest, StoreThatCannotBeReadIsNeitherReplacedNorLostBySaving) {
    const std::vector<std::string> saved = allValues(saveFullStore());
    const std::string before = test::readFile(keyFile());
    {
        test::Unreadable unreadable(keyFile());
        if (!unreadable.active()) GTEST_SKIP() << "this machine cannot take read access away";
        MainOp settings = load();
        EXPECT_EQ(settings.lang, "English") << "unreadable values read as empty";
        EXPECT_FALSE(settings.Save()) << "a save must not replace values it could not read";
    }
    EXPECT_EQ(test::readFile(keyFile()), before);
    EXPECT_EQ(allValues(load()), saved);
}

TEST_F(StoreInputsTest, StoreThatFailsWhileBeingReadIsNotReplacedBySaving) {
    std::filesystem::create_directories(keyFolder());
    // Opens like any file, then every read fails with an input/output error.
    ASSERT_EQ(::symlink("/proc/self/mem", keyFile().c_str()), 0);
    MainOp settings = load();
    EXPECT_EQ(settings.lang, "English");
    EXPECT_FALSE(settings.Save());
    EXPECT_TRUE(std::filesystem::is_symlink(keyFile())) << "the key file was replaced";
}

TEST_F(StoreInputsTest, FullDiskFailsTheSaveKeepsTheStoreWholeAndLeavesNoTemporaryFile) {
    std::filesystem::create_directories(keyFolder());
    test::FullDisk disk(keyFolder());
    if (!disk.active()) GTEST_SKIP() << "this machine can neither mount nor limit file sizes";
    const std::vector<std::string> saved = allValues(saveFullStore());
    disk.fill();
    MainOp settings = load();
    settings.isGuard = "0";
    settings.Recip = std::string(4000, 'r') + "@customer.example";
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(allValues(load()), saved);
    EXPECT_EQ(namesIn(keyFolder()).count("Tarnwick.reg"), 1u);
    for (const std::string& name : namesIn(keyFolder()))
        EXPECT_EQ(name.find(".tmp."), std::string::npos) << name << " was left behind";
}

}  // namespace
}  // namespace twk
