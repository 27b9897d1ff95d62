// What only Linux has: the system's mail program, named pipes and pseudo files without end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "helper/send_mail.h"
#include "helper/send_mail_fixture.h"
#include "support/file_access.h"
#include "support/http_server.h"
#include "support/scoped_env.h"

namespace twkd {
namespace {

// Points msmtp, the mail program behind /usr/sbin/sendmail here, at a loopback port through a
// configuration of the test's own.
class MsmtpConfig {
public:
    MsmtpConfig(const std::string& home, const std::string& port)
        : home_("HOME", home), configHome_("XDG_CONFIG_HOME", home) {
        const std::string file = twk::test::writeFile(
            home + "/.msmtprc", "account default\nhost 127.0.0.1\nport " + port +
                                    "\nauth off\ntls off\nfrom tarnwick@test.example\n");
        ::chmod(file.c_str(), 0600);  // msmtp refuses a configuration others can read
    }

    static bool installed() {
        std::error_code error;
        return std::filesystem::canonical("/usr/sbin/sendmail", error).filename() == "msmtp";
    }

private:
    twk::test::ScopedEnvironment home_;
    twk::test::ScopedEnvironment configHome_;
};

// Linux's code page is UTF-8: the texts may be of any script.
TEST_F(SendMailTest, TextOutsideAsciiDecodesBackToTheSameText) {
    HelperMailConfig config(dir.path(), server.url());
    const std::string subject = "theme: Отчёт über Laufwerk 日本語 e-mail: user@example.com";
    const std::string longSubject = std::string(60, 'x') + " " + subject + " " + subject;
    const std::string body = "Grüße, \r\n.\r\nЗдравствуйте!\r\n" + std::string(100, '=') +
                             std::string(90, 'a') + " \t\r\n日本語のテキスト ";
    ASSERT_EQ(send(kRecipient, subject, body), 0);
    ASSERT_EQ(send(kRecipient, longSubject, "line one\nline two\n"), 0);
    auto mails = server.messages();
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_EQ(mails[0].subject, subject);
    EXPECT_EQ(mails[0].body, body);
    EXPECT_EQ(mails[1].subject, longSubject);
    EXPECT_EQ(mails[1].body, "line one\r\nline two\r\n") << "mail text has CR LF line ends";
    for (const auto& mail : mails) {
        for (size_t start = 0, end; start < mail.raw.size(); start = end + 2) {
            end = std::min(mail.raw.find("\r\n", start), mail.raw.size());
            EXPECT_LE(end - start, 78u) << "line too long: " << mail.raw.substr(start, end - start);
        }
    }
}

TEST_F(SendMailTest, PipesAndEndlessPseudoFilesAreNotAttached) {
    HelperMailConfig config(dir.path(), server.url());
    const std::string fifo = dir.file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(send(kRecipient, "s", "b", fifo), kMailAttachmentUnreadable) << "and no hang";
    // A file of no size that reads on for as much memory as the process spans.
    EXPECT_EQ(send(kRecipient, "s", "b", "/proc/self/pagemap"), kMailAttachmentUnreadable);
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SendMailTest, EveryoneReadingTheFileKeepsTheLoginFromTheMailProgramToo) {
    MsmtpConfig mailProgram(dir.path(), std::to_string(server.port()));
    HelperMailSettings account;
    account.delivery = "sendmail";
    account.user = "tarnwick";
    account.password = "s3cret";
    HelperMailConfig config(dir.path(), account);
    twk::test::letEveryoneRead(dir.file("Brindle/twkd.ini"));
    EXPECT_EQ(send(kRecipient, "s", "b"), kMailUnsafeSettings);
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SendMailTest, TheSystemMailProgramDeliversTheSameMessageAsSmtp) {
    if (!MsmtpConfig::installed())
        GTEST_SKIP() << "/usr/sbin/sendmail is not msmtp; scripts/setup.sh installs msmtp-mta "
                        "where no other mail transfer agent is installed";
    MsmtpConfig mailProgram(dir.path(), std::to_string(server.port()));
    const std::string attachment = twk::test::writeFile(dir.file("program/ManualReport.csv"),
                                                        "User;Time\r\n.\r\nann;\xE9\r\n");
    const std::string subject = "Report from Tarnwick program \xC3\xA9";
    const std::string body = "Date:\\n01.02.2024\r\n.\r\nend";
    HelperMailSettings smtp = settings();
    HelperMailSettings mta = settings();
    mta.server.clear();  // no server: the system's mail program
    for (const HelperMailSettings& route : {smtp, mta}) {
        HelperMailConfig config(dir.path(), route);
        ASSERT_EQ(send(kRecipient, subject, body, attachment), 0);
    }
    auto mails = server.messages();
    ASSERT_EQ(mails.size(), 2u);
    const ReceivedMail& viaSmtp = mails[0];
    const ReceivedMail& viaMta = mails[1];
    EXPECT_EQ(viaMta.sender, viaSmtp.sender);
    EXPECT_EQ(viaMta.recipients, std::vector<std::string>{kRecipient});
    for (const char* header : {"From", "To", "Subject", "MIME-Version"})
        EXPECT_EQ(viaMta.header(header), viaSmtp.header(header)) << header;
    for (const char* header : {"Date", "Message-ID"})
        EXPECT_NE(viaMta.header(header), "") << header;
    EXPECT_EQ(viaMta.subject, subject);
    EXPECT_EQ(viaMta.body, body);
    EXPECT_EQ(viaMta.partTypes, viaSmtp.partTypes);
    EXPECT_EQ(viaMta.attachments, viaSmtp.attachments);
    ASSERT_EQ(viaMta.attachments.size(), 1u);
    EXPECT_EQ(viaMta.attachments[0].second, twk::test::readFile(attachment));

    // The mail program's failure is the library's.
    MsmtpConfig nowhere(dir.path(), std::to_string(twk::test::freeLocalPort()));
    HelperMailConfig config(dir.path(), mta);
    EXPECT_EQ(send(kRecipient, subject, body, attachment), kMailNotDelivered);
}

// A mail program of the test's own in place of /usr/sbin/sendmail, given as a shell script.
MailSettings mailProgram(const twk::test::TempDir& dir, const std::string& script) {
    MailSettings settings;
    settings.sender = "tarnwick@test.example";
    settings.mailProgram = twk::test::writeFile(dir.file("sendmail"), "#!/bin/sh\n" + script);
    ::chmod(settings.mailProgram.c_str(), 0700);
    return settings;
}

TEST(MailProgramTest, CountsAsSentOnlyWhenItTookTheWholeMessageAndEndedWell) {
    twk::test::TempDir dir;
    const std::string small = twk::test::writeFile(dir.file("small.csv"), "User;Time\r\n");
    // Far more than a pipe holds, so that writing meets the program's end.
    const std::string large =
        twk::test::writeFile(dir.file("large.csv"), std::string(1 << 20, 'x'));
    const std::string taken = dir.file("taken.eml");
    for (const std::string& attachment : {small, large}) {
        EXPECT_EQ(sendMail(mailProgram(dir, "cat > '" + taken + "'\n"),
                           {kRecipient, "s", "b", attachment}),
                  kMailSent);
        EXPECT_GT(twk::test::readFile(taken).size(), attachment == large ? 1u << 20 : 0u);
        for (const char* script : {"exit 0\n", "head -c 100 > /dev/null\n"})
            EXPECT_EQ(sendMail(mailProgram(dir, script), {kRecipient, "s", "b", attachment}),
                      kMailNotDelivered)
                << script << " with " << attachment;
    }
}

}  // namespace
}  // namespace twkd
