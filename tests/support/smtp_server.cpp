#include "support/smtp_server.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/roots.h"
#include "platform/strings.h"
#include "support/file_access.h"

namespace twk::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) result.push_back(line);
    return result;
}

ReceivedMail readMessage(const fs::path& folder) {
    auto text = [&](const char* name) { return readFile((folder / name).string()); };
    ReceivedMail mail;
    mail.sender = platform::trim(text("sender"));
    mail.recipients = lines(text("recipients"));
    mail.raw = text("message.eml");
    mail.subject = text("subject");
    mail.body = text("body");
    mail.partTypes = lines(text("parts"));
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder / "attachments"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files)
        mail.attachments.emplace_back(file.filename().string(), readFile(file.string()));
    return mail;
}

const char* faultName(SmtpFault fault) {
    switch (fault) {
        case SmtpFault::RefuseConnection:
            return "refuse-connect";
        case SmtpFault::RefuseSender:
            return "refuse-mail";
        case SmtpFault::RefuseRecipient:
            return "refuse-rcpt";
        case SmtpFault::RefuseData:
            return "refuse-data";
        case SmtpFault::StallGreeting:
            return "stall-connect";
        case SmtpFault::StallData:
            return "stall-data";
        case SmtpFault::None:
            break;
    }
    return "";
}

std::vector<std::string> sinkArguments(const std::string& folder,
                                       const SmtpServerOptions& options) {
    std::vector<std::string> args = {PythonPeer::hostPath(folder)};
    if (!options.user.empty())
        args.insert(args.end(), {"--user", options.user, "--password", options.password});
    if (options.fault != SmtpFault::None)
        args.insert(args.end(), {"--fault", faultName(options.fault)});
    if (options.tls)
        args.insert(args.end(), {"--tls", kSmtpTlsCertificate,
                                 TWK_SOURCE_DIR "/tests/support/smtp_tls_key.pem"});
    if (options.discard) args.push_back("--discard");
    return args;
}

HelperMailSettings settingsFor(const std::string& serverUrl) {
    HelperMailSettings settings;
    settings.server = serverUrl;
    return settings;
}

}  // namespace

std::string ReceivedMail::header(const std::string& name) const {
    std::string head = raw.substr(0, raw.find("\r\n\r\n"));
    std::string found;
    bool inWanted = false;
    for (const std::string& line : lines(head)) {
        std::string content = line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
        if (content.empty()) continue;
        if (content[0] == ' ' || content[0] == '\t') {
            if (inWanted) found += content;
            continue;
        }
        if (inWanted) return found;
        size_t colon = content.find(':');
        inWanted =
            colon != std::string::npos && platform::equalsNoCase(content.substr(0, colon), name);
        if (inWanted) found = platform::trim(content.substr(colon + 1));
    }
    return found;
}

SmtpServer::SmtpServer(SmtpServerOptions options)
    : peer_(TWK_SOURCE_DIR "/tests/support/smtp_sink.py", sinkArguments(folder_.path(), options)) {
    if (!peer_.running())
        error_ = "the SMTP sink did not start (is python3-aiosmtpd installed?): " + peer_.error();
}

SmtpServer::~SmtpServer() = default;

std::string SmtpServer::url() const { return "smtp://127.0.0.1:" + std::to_string(port()); }

std::vector<ReceivedMail> SmtpServer::messages() const {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (entry.path().filename().string().rfind("message-", 0) == 0 &&
            !exists((entry.path() / "size").string()))
            folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    std::vector<ReceivedMail> mails;
    for (const auto& folder : folders) mails.push_back(readMessage(folder));
    return mails;
}

std::vector<std::string> SmtpServer::loginAttempts() const {
    return lines(readFile(folder_.file("logins")));
}

SmtpServer::StallEnd SmtpServer::stallEnd() const {
    // The server gives up on its own after half a minute; this waits a little longer.
    for (int attempt = 0; attempt < 2000; ++attempt) {
        if (exists(folder_.file("client-hung-up"))) return StallEnd::ClientHungUp;
        if (exists(folder_.file("server-gave-up"))) return StallEnd::ServerGaveUp;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return StallEnd::None;
}

HelperMailConfig::HelperMailConfig(const std::string& configDir, const std::string& serverUrl)
    : HelperMailConfig(configDir, settingsFor(serverUrl)) {}

HelperMailConfig::HelperMailConfig(const std::string& configDir, const HelperMailSettings& settings)
    : configDirs_("TWKD_TEST_CONFIG_DIR", configDir) {
    writeTrustedFile(platform::joinPath(platform::joinPath(configDir, "Brindle"), "twkd.ini"),
                     iniText(settings));
}

HelperMailConfig::~HelperMailConfig() = default;

std::string HelperMailConfig::iniText(const HelperMailSettings& settings) {
    std::string text = "[Mail]\n";
    auto add = [&](const char* key, const std::string& value) {
        if (!value.empty()) text += std::string(key) + "=" + value + "\n";
    };
    add("Delivery", settings.delivery);
    add("Server", settings.server);
    add("Sender", settings.sender);
    add("User", settings.user);
    add("Password", settings.password);
    add("StartTLS", settings.startTls);
    add("CAFile", settings.caFile);
    add("Timeout", settings.timeout);
    return text;
}

}  // namespace twk::test
