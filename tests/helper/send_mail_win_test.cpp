// Windows has SMTP alone, and the shipped library reads its settings from the machine's program
// data folder.
#include <windows.h>
// After windows.h.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>

#include "helper/send_mail.h"
#include "helper/send_mail_fixture.h"
#include "support/file_access.h"
#include "support/system_text.h"

namespace twkd {
namespace {

TEST_F(SendMailTest, WithoutAServerNothingIsSentAsThereIsNoMailProgram) {
    HelperMailSettings noServer = settings();
    noServer.server.clear();
    HelperMailConfig config(dir.path(), noServer);
    EXPECT_EQ(send(kRecipient, "s", "b"), kMailBadSettings);
    EXPECT_TRUE(server.messages().empty());
}

// The program hands the library its texts in the ANSI code page, as it keeps them; the message
// carries them as the UTF-8 it declares.
TEST_F(SendMailTest, TextInTheAnsiCodePageArrivesAsUtf8) {
    HelperMailConfig config(dir.path(), server.url());
    const std::string subject = "Grüße über Laufwerk E:";
    const std::string body = "Fehler: Datei «ä.exe» verschoben\r\n";
    ASSERT_EQ(send(kRecipient, twk::test::systemText(subject), twk::test::systemText(body)), 0);
    const auto mails = server.messages();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].subject, subject);
    EXPECT_EQ(mails[0].body, body);
}

TEST(ShippedLibraryTest, ReadsTwkdIniFromTheProgramDataFolder) {
    SmtpServer server;
    ASSERT_TRUE(server.running()) << server.error();
    char programData[MAX_PATH] = {};
    ASSERT_EQ(
        ::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, programData),
        S_OK);
    const std::filesystem::path folder = std::filesystem::path(programData) / "Brindle";
    const std::filesystem::path file = folder / "twkd.ini";
    if (std::filesystem::exists(file)) GTEST_SKIP() << file << " is this machine's own";
    std::error_code error;
    const bool madeFolder = std::filesystem::create_directory(folder, error);
    HelperMailSettings settings;
    settings.server = server.url();
    twk::test::writeTrustedFile(file.string(), HelperMailConfig::iniText(settings));
    twk::LoadedHelperLibrary shipped(TWK_PROGRAM_DIR);
    EXPECT_EQ(shipped.SendMailOut(kRecipient, "Test message from Tarnwick program",
                                  "It's test message from Tarnwick", ""),
              0);
    std::filesystem::remove(file, error);
    if (madeFolder) std::filesystem::remove(folder, error);
    const auto mails = server.messages();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].subject, "Test message from Tarnwick program");
}

}  // namespace
}  // namespace twkd
