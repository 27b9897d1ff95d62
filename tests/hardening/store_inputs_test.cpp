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

TEST_F(StoreInputsTest, CutAtAnyByteReadsEachValueWholeOrNotAtAllAndASaveNeverLosesWhatWasRead) {
    const std::vector<std::string> saved = allValues(saveFullStore());
    const std::string whole = test::readFile(keyFile());
    MainOp empty(Regedit::RootKey(dir.file("empty")), kProgram);
    empty.Init();
    const std::vector<std::string> fallback = allValues(empty);
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        const std::string torn = whole.substr(0, cut);
        test::writeFile(keyFile(), torn);
        const std::vector<std::string> read = allValues(load());
        for (size_t i = 0; i < read.size(); ++i)
            ASSERT_TRUE(read[i] == saved[i] || read[i] == fallback[i])
                << "value " << i << " read as \"" << read[i] << "\" from the first " << cut
                << " bytes";
        // A save keeps what was read, the service's value included; a file cut inside a line
        // cannot be parsed and is left exactly as it is.
        const bool serviceValueRead = root.read(kSettingsKey, "ServiceState").has_value();
        const bool wholeLines = cut == 0 || torn.back() == '\n';
        if (!load().Save()) {
            ASSERT_FALSE(wholeLines) << "a store of whole lines was not saved at " << cut;
            ASSERT_EQ(test::readFile(keyFile()), torn);
            continue;
        }
        EXPECT_EQ(allValues(load()), read) << "after a save of the first " << cut << " bytes";
        EXPECT_EQ(root.read(kSettingsKey, "ServiceState").has_value(), serviceValueRead);
    }
}

TEST_F(StoreInputsTest, HandEditWithOddSpacingLineEndsAndCaseReadsAsMeantAndASaveKeepsTheRest) {
    const std::string edit =
        "Windows Registry Editor Version 5.00\r\n\r\n; edited by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Brindle\\Tarnwick]\r\n"
        "   \"language\"   =   \"Deutsch\"   \r\n"
        "\t\"DirectoryReports\"\t=\t\"/srv/reports\"\r\n"
        "\r\n"
        "\"GUARD\"=\"1\"\r\n"
        "\"Guard\" = \"0\"\r\n"
        "\"Shedule\"=dword:00000001\r\n"
        "\"ServiceState\"=dword:00000003\r\n"
        "\"Recipient\"=\"admin@customer.example\"";  // no line end at all
    test::writeFile(keyFile(), edit);
    MainOp settings = load();
    EXPECT_EQ(settings.lang, "Deutsch");
    EXPECT_EQ(settings.DirRep, "/srv/reports");
    EXPECT_EQ(settings.isGuard, "0") << "a later line for the same name wins, as on import";
    EXPECT_EQ(settings.Shed, "") << "a number is not text";
    EXPECT_EQ(settings.Recip, "admin@customer.example");

    settings.isSaveReport = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(allValues(load()), allValues(settings));
    const std::string stored = test::readFile(keyFile());
    for (const char* kept :
         {"Windows Registry Editor Version 5.00\r\n\r\n; edited by hand\r\n", "\"GUARD\"=\"1\"\r\n",
          "\"ServiceState\"=dword:00000003\r\n", "\"Recipient\"=\"admin@customer.example\"\r\n"})
        EXPECT_NE(stored.find(kept), std::string::npos) << kept << " was not kept";
    EXPECT_NE(stored.find("\"SaveReports\"=\"1\"\r\n"), std::string::npos)
        << "new lines end as the file's lines do";
}

// A registry editor's export: UTF-16 with a byte-order mark, CR LF, comments, another key
// before and after, every value type, a value continued over lines.
std::string exportedStore(const std::string& guard) {
    return "Windows Registry Editor Version 5.00\r\n"
           "\r\n"
           "; exported for the guard service\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle]\r\n"
           "\"Language\"=\"Français\"\r\n"
           "\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle\\Tarnwick]\r\n"
           "\"Language\"=\"Deutsch\"\r\n"
           "\"SaveReports\"=\"1\"\r\n"
           "\"DirectoryReports\"=\"/srv/Berichte/Gerät\"\r\n"
           "\"DirectoryQuarantine\"=\"/srv/Quarantäne\"\r\n"
           "\"StartWindows\"=\"0\"\r\n"
           "\"Recipient\"=\"admin@customer.example\"\r\n"
           "; the schedule\r\n"
           "\"SendReports\"=\"1\"\r\n"
           "\"Shedule\"=\"1\"\r\n"
           "\"Time\"=\"07:30\"\r\n"
           "\"EveryWeek\"=\"3\"\r\n"
           "\"EveryMonth\"=\"14\"\r\n"
           "\"Guard\"=\"" +
           guard +
           "\"\r\n"
           "\"ServicePath\"=hex(2):25,00,50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,69,\\\r\n"
           "  00,6c,00,65,00,73,00,25,00,00,00\r\n"
           "\"Drives\"=hex(7):44,00,3a,00,00,00,45,00,3a,00,00,00,00,00\r\n"
           "\"LastScan\"=hex(b):00,e0,1c,7b,5e,3f,d9,01\r\n"
           "\"Marker\"=hex(0):\r\n"
           "\"Key\"=hex:de,ad,be,ef\r\n"
           "\"ServiceState\"=dword:00000003\r\n"
           "@=\"default\"\r\n"
           "\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brindle\\Tarnwick\\Service]\r\n"
           "\"Guard\"=\"1\"\r\n";
}

std::string utf16WithBom(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    std::u32string code;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
        i += length;
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST_F(StoreInputsTest, RegistryEditorExportKeepsEveryByteASaveDoesNotOwn) {
    test::writeFile(keyFile(), utf16WithBom(exportedStore("0")));
    MainOp settings = load();
    EXPECT_EQ(settings.lang, "Deutsch");
    EXPECT_EQ(settings.DirRep, "/srv/Berichte/Gerät");
    EXPECT_EQ(settings.DirQuar, "/srv/Quarantäne");
    EXPECT_EQ(settings.EW, "3");
    EXPECT_EQ(settings.isGuard, "0") << "the subkey's value is not the key's";

    settings.isGuard = "1";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(test::readFile(keyFile()), utf16WithBom(exportedStore("1")))
        << "only the changed value's line differs, in the file's own encoding";
    const auto path = root.read(kSettingsKey, "ServicePath");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->otherType, 2u);
    EXPECT_EQ(path->text.size(), 30u) << "the continued line is part of the value";
}

TEST_F(StoreInputsTest, StoreThatCannotBeParsedIsReadAsFarAsPossibleAndNeverReplaced) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
    const std::string header =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Brindle\\Tarnwick]\n"
        "\"Language\"=\"Deutsch\"\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* lang;
    } kCases[] = {
        {"binary", binary, "English"},
        {"name without quotes", header + "Time=08:00\n", "Deutsch"},
        {"continued value cut short", header + "\"Key\"=hex:de,ad,\\\n", "Deutsch"},
        {"UTF-16 of an odd length", utf16WithBom(header) + "x", "English"},
    };
    for (const auto& store : kCases) {
        test::writeFile(keyFile(), store.bytes);
        MainOp settings = load();
        EXPECT_EQ(settings.lang, store.lang) << store.name;
        settings.isGuard = "1";
        EXPECT_FALSE(settings.Save()) << store.name;
        EXPECT_EQ(test::readFile(keyFile()), store.bytes) << store.name;
    }
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

TEST_F(StoreInputsTest, ALinkPlacedAtTheLockFailsTheSaveAndIsNeverWrittenThrough) {
    const std::vector<std::string> saved = allValues(saveFullStore());
    const std::string elsewhere = test::writeFile(dir.file("elsewhere"), "not the store's");
    std::filesystem::remove(keyFile() + ".lock");
    ASSERT_EQ(::symlink(elsewhere.c_str(), (keyFile() + ".lock").c_str()), 0);
    MainOp settings = load();
    settings.isGuard = "0";
    EXPECT_FALSE(settings.Save()) << "the lock is taken on no file but its own";
    EXPECT_EQ(allValues(load()), saved);
    EXPECT_EQ(test::readFile(elsewhere), "not the store's");
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
