#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/python_peer.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace twk::test {

// One message as the test server accepted it.
struct ReceivedMail {
    std::string sender;                   // envelope sender (MAIL FROM)
    std::vector<std::string> recipients;  // accepted envelope recipients (RCPT TO)
    std::string raw;                      // the message data as received, CR LF line ends
    std::string subject;                  // Subject header, decoded to UTF-8
    std::string body;                     // first text/plain part, decoded to UTF-8
    std::vector<std::string> partTypes;   // content type of every leaf part, in order
    std::vector<std::pair<std::string, std::string>> attachments;  // file name, exact bytes

    // A top-level header of raw, unfolded, as sent (not decoded); empty when missing.
    std::string header(const std::string& name) const;
};

// Where a misbehaving server fails a client: it refuses with a 5xx answer, or stops answering.
enum class SmtpFault {
    None,
    RefuseConnection,  // 554 instead of a greeting, then the connection is closed
    RefuseSender,      // 553 to MAIL FROM
    RefuseRecipient,   // 550 to every RCPT TO
    RefuseData,        // 554 after the message data
    StallGreeting,     // accepts the connection and never greets
    StallData,         // takes the message data and never answers it
};

struct SmtpServerOptions {
    // When user is set, clients must log in (PLAIN or LOGIN) with user and password.
    std::string user;
    std::string password;
    SmtpFault fault = SmtpFault::None;
    // STARTTLS demanded before anything else, with the certificate in kSmtpTlsCertificate.
    bool tls = false;
    // Messages are only counted, for benchmarks: messages() then lists none.
    bool discard = false;
};

// The test server's certificate, for localhost and 127.0.0.1; clients trust it as their
// certificate file.
inline constexpr const char* kSmtpTlsCertificate =
    TWK_SOURCE_DIR "/tests/support/smtp_tls_cert.pem";
// A certificate of the same names that vouches for nothing the server holds.
inline constexpr const char* kUnrelatedCertificate =
    TWK_SOURCE_DIR "/tests/support/untrusted_ca_cert.pem";

// A real SMTP server on 127.0.0.1 at a free port for the length of a test (Debian's aiosmtpd,
// run by /usr/bin/python3). Without a fault it accepts every recipient except those containing
// "refuse", which get 550. A message is on disk before the server answers its data, so
// messages() shows it as soon as the client's call has returned.
//
//     SmtpServer server;
//     ASSERT_TRUE(server.running()) << server.error();
//     HelperMailConfig config(dir.path(), server.url());   // for libtwkd, see below
//     ... send ...
//     auto mails = server.messages();
class SmtpServer {
public:
    explicit SmtpServer(SmtpServerOptions options = {});
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    bool running() const { return peer_.running(); }
    // Why the server did not start.
    const std::string& error() const { return error_; }
    int port() const { return peer_.port(); }
    std::string url() const;  // "smtp://127.0.0.1:<port>"
    // Every message accepted so far, oldest first.
    std::vector<ReceivedMail> messages() const;
    // Every login attempt so far, right or wrong, as its mechanism and user name ("PLAIN ann").
    std::vector<std::string> loginAttempts() const;
    // How the stalled session of a Stall fault ended, once it has: the client hung up, or the
    // server gave up waiting for it (after half a minute). None when no session stalled.
    enum class StallEnd { None, ClientHungUp, ServerGaveUp };
    StallEnd stallEnd() const;

private:
    TempDir folder_;  // made before the server that writes into it
    PythonPeer peer_;
    std::string error_;
};

// Settings for the helper library's [Mail] section; empty values are left out of the file.
struct HelperMailSettings {
    std::string delivery;
    std::string server;
    std::string sender = "tarnwick@test.example";
    std::string user;
    std::string password;
    std::string startTls;
    std::string caFile;
    std::string timeout = "10";
};

// Points the helper library's test variant (in TWK_TEST_HELPER_DIR) loaded by this process at a
// mail server until destruction: writes <configDir>/Brindle/twkd.ini, readable only by those
// trusted with a password (see support/file_access.h), and sets TWKD_TEST_CONFIG_DIR to configDir
// (restored afterwards).
class HelperMailConfig {
public:
    HelperMailConfig(const std::string& configDir, const std::string& serverUrl);
    HelperMailConfig(const std::string& configDir, const HelperMailSettings& settings);
    ~HelperMailConfig();
    HelperMailConfig(const HelperMailConfig&) = delete;
    HelperMailConfig& operator=(const HelperMailConfig&) = delete;

    // Text for a twkd.ini with these settings.
    static std::string iniText(const HelperMailSettings& settings);

private:
    ScopedEnvironment configDirs_;
};

}  // namespace twk::test
