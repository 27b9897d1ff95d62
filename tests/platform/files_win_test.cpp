// File, folder and text helpers on the system's own calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "core/settings/general.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "platform/roots.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "support/system_text.h"
#include "support/temp_dir.h"

namespace platform {
namespace {

class FilesTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.file(name); }

    twk::test::TempDir dir;
};

TEST_F(FilesTest, FolderTestTakesATrailingSeparatorAndRefusesFilesAndNothing) {
    twk::test::writeFile(path("sub/file.txt"), "x");
    EXPECT_TRUE(dirExists(path("sub")));
    EXPECT_TRUE(dirExists(path("sub") + "\\"));
    EXPECT_TRUE(dirExists("C:\\"));
    EXPECT_FALSE(dirExists(path("sub/file.txt")));
    EXPECT_FALSE(dirExists(path("missing")));
    EXPECT_FALSE(dirExists(""));
    EXPECT_EQ(twk::General::DirExists(path("sub")), twk::VbTrue);
}

TEST_F(FilesTest, FileTestOpensFilesOfAnyPathLengthAndRefusesFoldersAndNothing) {
    const std::string shortFile = twk::test::writeFile(path("a.txt"), "x");
    const std::string deep = path(std::string(60, 'd') + "/" + std::string(60, 'e') + "/f.txt");
    twk::test::writeFile(deep, "x");
    ASSERT_GT(deep.size(), static_cast<size_t>(OFS_MAXPATHNAME)) << "beyond OpenFile's record";
    EXPECT_TRUE(fileExists(shortFile));
    EXPECT_TRUE(fileExists(deep));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(path("missing.txt")));
    EXPECT_FALSE(fileExists(""));
    EXPECT_EQ(twk::General::FileExists(shortFile), twk::VbTrue);
    EXPECT_EQ(twk::General::FileExists(path("missing.txt")), twk::VbFalse);
}

TEST_F(FilesTest, ListingGivesVisibleFilesOnlyInAscendingOrder) {
    for (const char* name : {"b.log", "A.log", "c.log", "hidden.log", "system.log", ".dot"})
        twk::test::writeFile(path(std::string("r/") + name), "x");
    twk::test::writeFile(path("r/folder/inner.log"), "x");
    ASSERT_TRUE(::SetFileAttributesA(path("r/hidden.log").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesA(path("r/system.log").c_str(), FILE_ATTRIBUTE_SYSTEM));
    bool ok = false;
    const std::vector<std::string> names = listFiles(path("r"), &ok);
    EXPECT_TRUE(ok);
    std::vector<std::string> expected{"A.log", "b.log", "c.log"};
    if ((::GetFileAttributesA(path("r/.dot").c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0)
        expected.insert(expected.begin(), ".dot");  // hidden only where the system says so
    EXPECT_EQ(names, expected);
    listFiles(path("missing"), &ok);
    EXPECT_FALSE(ok);
    twk::test::writeFile(path("empty/x"), "x");
    ASSERT_TRUE(removeFile(path("empty/x")));
    EXPECT_TRUE(listFiles(path("empty"), &ok).empty());
    EXPECT_TRUE(ok) << "an empty folder is a readable folder";
}

TEST_F(FilesTest, MakeDirCreatesOneLevelAndRemoveFileDeletesOnlyWhatIsThere) {
    EXPECT_TRUE(makeDir(path("one")));
    EXPECT_TRUE(makeDir(path("one"))) << "an existing folder is fine";
    EXPECT_FALSE(makeDir(path("two/three"))) << "one level only";
    const std::string file = twk::test::writeFile(path("gone.txt"), "x");
    EXPECT_FALSE(makeDir(file));
    EXPECT_TRUE(removeFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(removeFile(file));
}

TEST(MachinePathsTest, ProgramFolderDocumentsAndSeparatorAreWindowsOnes) {
    const std::string program = programFolder();
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(program + "\\", std::string(exe).substr(0, program.size() + 1));
    EXPECT_NE(program.back(), '\\');
    EXPECT_TRUE(dirExists(program));
    EXPECT_TRUE(dirExists(documentsFolder())) << documentsFolder();
    EXPECT_EQ(pathSeparator(), "\\");
    EXPECT_EQ(joinPath("C:\\Tarnwick", "reports"), "C:\\Tarnwick\\reports");
    EXPECT_EQ(Roots::system().configDir, "") << "the store is HKEY_LOCAL_MACHINE";
}

TEST(MachinePathsTest, UserFilesGoToTheUsersLocalApplicationData) {
    const char* local = std::getenv("LOCALAPPDATA");
    ASSERT_TRUE(local);
    const std::string folder = userFilesFolder();
    EXPECT_EQ(folder, std::string(local) + "\\Tarnwick");
    EXPECT_TRUE(makePrivateFolder(folder));
    EXPECT_TRUE(dirExists(folder));
}

TEST(TextTest, CharactersAreCountedInTheAnsiCodePage) {
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("Save to disk"), 12u);
    EXPECT_EQ(characterCount(twk::test::systemText("Größe")), 5u);
    EXPECT_EQ(characterCount(twk::test::systemText("Сохранить")), 9u);
}

}  // namespace
}  // namespace platform
