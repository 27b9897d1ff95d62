// The settings store against the real registry: values written and read with the registry's
// own calls, under a test key that is deleted afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/settings/main_op.h"
#include "core/settings/regedit.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

constexpr const char* kKey = "Software\\Brindle\\Tarnwick";

class RegistryTest : public ::testing::Test {
protected:
    std::string fullKey(const std::string& keyPath) const {
        return store.location() + "\\" + keyPath;
    }
    // The raw type and size the registry itself reports for a value.
    bool query(const std::string& keyPath, const std::string& name, DWORD& type, DWORD& size) {
        HKEY key = nullptr;
        if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, fullKey(keyPath).c_str(), &key) != ERROR_SUCCESS)
            return false;
        const bool found =
            ::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        return found;
    }
    // A value written by another program, with the registry's own call.
    void setRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyA(HKEY_LOCAL_MACHINE, fullKey(kKey).c_str(), &key), ERROR_SUCCESS);
        ASSERT_EQ(
            ::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    // A settings value as a Unicode program writes and reads it.
    void setWide(const wchar_t* name, const std::wstring& text) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyA(HKEY_LOCAL_MACHINE, fullKey(kSettingsKey).c_str(), &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(
            ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    std::wstring wide(const wchar_t* name) {
        HKEY key = nullptr;
        wchar_t text[256] = {};
        DWORD size = sizeof text - sizeof(wchar_t);
        if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, fullKey(kSettingsKey).c_str(), &key) != ERROR_SUCCESS)
            return {};
        ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        ::RegCloseKey(key);
        return text;
    }

    test::TempRegistry store;
    Regedit::RootKey root = store.root();
};

TEST_F(RegistryTest, TextIsStoredAsRegSzOfLengthPlusOneAndReadBackWholeAtAnyLength) {
    for (size_t length : {size_t{0}, size_t{64}, size_t{65}, size_t{300}, size_t{5000}}) {
        const std::string name = "Length" + std::to_string(length);
        const std::string text(length, 'v');
        ASSERT_TRUE(Regedit::SaveString(root, kKey, name, text));
        DWORD type = 0, size = 0;
        ASSERT_TRUE(query(kKey, name, type, size));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, length + 1) << "the text and its NUL";
        EXPECT_EQ(Regedit::GetString(root, kKey, name), text);
    }
}

TEST_F(RegistryTest, ValuesWrittenByOthersReadAsTheirTextOrEmpty) {
    const DWORD number = 42;
    setRaw("Number", REG_DWORD, &number, sizeof number);
    const char unterminated[] = {'a', 'b', 'c'};
    setRaw("NoNul", REG_SZ, unterminated, sizeof unterminated);
    const char early[] = "ab\0cd";
    setRaw("EarlyNul", REG_SZ, early, sizeof early);
    EXPECT_EQ(Regedit::GetString(root, kKey, "Number"), "") << "a number is not text";
    EXPECT_EQ(Regedit::GetString(root, kKey, "NoNul"), "abc");
    EXPECT_EQ(Regedit::GetString(root, kKey, "EarlyNul"), "ab");
    EXPECT_EQ(Regedit::GetString(root, kKey, "NUMBER"), "");
    EXPECT_EQ(root.read(kKey, "number").value().dword, 42u) << "names ignore case";
}

TEST_F(RegistryTest, MissingKeyReadsEmptyAndCreatesNothingWhileWritingCreatesEveryParent) {
    EXPECT_EQ(Regedit::GetString(root, "Software\\Nobody\\Here", "Value"), "");
    EXPECT_TRUE(root.readAll("Software\\Nobody\\Here").empty());
    EXPECT_FALSE(store.hasKey(""));
    ASSERT_TRUE(Regedit::SaveString(root, "Software\\Nobody\\Here", "Value", "v"));
    EXPECT_TRUE(store.hasKey("Software"));
    EXPECT_TRUE(store.hasKey("Software\\Nobody"));
    EXPECT_TRUE(store.hasKey("Software\\Nobody\\Here"));
}

TEST_F(RegistryTest, EmptyBaseIsHkeyLocalMachineItself) {
    const platform::RegistryRoot machine("");
    const std::string keyPath = store.location() + "\\Direct";
    ASSERT_TRUE(Regedit::SaveString(machine, keyPath, "Value", "through the real root"));
    EXPECT_EQ(Regedit::GetString(root, "Direct", "Value"), "through the real root");
}

TEST_F(RegistryTest, TheTwelveSettingsAreSavedAndReadUnderTheSettingsKey) {
    MainOp settings(root, "C:\\Program Files\\Tarnwick");
    settings.Init();
    EXPECT_EQ(settings.DirRep, "C:\\Program Files\\Tarnwick\\reports");
    settings.DirQuar = "D:\\" + std::string(300, 'q');
    settings.Recip = "admin@example.org";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(root.readAll(kSettingsKey).size(), 12u);
    MainOp reloaded(root, "C:\\elsewhere");
    reloaded.Init();
    EXPECT_EQ(reloaded.DirRep, settings.DirRep);
    EXPECT_EQ(reloaded.DirQuar, settings.DirQuar);
    EXPECT_EQ(reloaded.Recip, "admin@example.org");
    EXPECT_EQ(reloaded.isGuard, "");
}

// A folder named by a Unicode program in letters the ANSI code page lacks reads with question
// marks; saving the settings unchanged keeps it, changing it replaces it.
TEST_F(RegistryTest, TextTheCodePageCannotHoldSurvivesASaveThatLeavesItAsItWas) {
    const std::wstring folder = L"Z:\\\u2603 reports";  // U+2603 is in no ANSI code page
    MainOp settings(root, "C:\\Tarnwick");
    ASSERT_TRUE(settings.Save());
    setWide(L"DirectoryReports", folder);
    settings.Init();
    settings.Recip = "admin@example.org";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(wide(L"DirectoryReports"), folder);
    EXPECT_EQ(wide(L"Recipient"), L"admin@example.org") << "the other values were saved";
    settings.DirRep = "Z:\\other";
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(wide(L"DirectoryReports"), L"Z:\\other");
}

}  // namespace
}  // namespace twk
