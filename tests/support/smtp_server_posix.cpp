#include "support/smtp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/strings.h"

extern char** environ;

namespace twk::test {
namespace {

namespace fs = std::filesystem;

// Debian's interpreter: the one on PATH may be a private build without python3-aiosmtpd.
constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartMilliseconds = 20000;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) result.push_back(line);
    return result;
}

// Reads the first line the server prints: its port.
std::string readFirstLine(int fd) {
    std::string line;
    pollfd wait{fd, POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&wait, 1, kStartMilliseconds) > 0) {
        char chunk[64];
        ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count <= 0) break;
        line.append(chunk, static_cast<size_t>(count));
    }
    return line.substr(0, line.find('\n'));
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

SmtpServer::SmtpServer(SmtpServerOptions options) { start(options); }

SmtpServer::~SmtpServer() { stop(); }

void SmtpServer::start(const SmtpServerOptions& options) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        error_ = "no pipe";
        return;
    }
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        error_ = "no pipe";
        return;
    }
    std::vector<std::string> args = {kPython, TWK_SOURCE_DIR "/tests/support/smtp_sink.py",
                                     folder_.path()};
    if (!options.user.empty())
        args.insert(args.end(), {"--user", options.user, "--password", options.password});
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    pid_t pid = -1;
    int spawned = ::posix_spawn(&pid, kPython, &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    stdinPipe_ = input[1];
    if (spawned != 0) {
        ::close(output[0]);
        error_ = std::string("cannot start ") + kPython;
        return;
    }
    pid_ = pid;
    std::string line = readFirstLine(output[0]);
    ::close(output[0]);
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) {
        error_ = "the SMTP sink did not start (is python3-aiosmtpd installed?)";
        stop();
    }
}

void SmtpServer::stop() {
    if (stdinPipe_ >= 0) ::close(stdinPipe_);
    stdinPipe_ = -1;
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

std::string SmtpServer::url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

std::vector<ReceivedMail> SmtpServer::messages() const {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (entry.path().filename().string().rfind("message-", 0) == 0)
            folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    std::vector<ReceivedMail> mails;
    for (const auto& folder : folders) mails.push_back(readMessage(folder));
    return mails;
}

HelperMailConfig::HelperMailConfig(const std::string& configDir, const std::string& serverUrl)
    : HelperMailConfig(configDir, settingsFor(serverUrl)) {}

HelperMailConfig::HelperMailConfig(const std::string& configDir, const HelperMailSettings& settings)
    : configDirs_("XDG_CONFIG_DIRS", configDir) {
    writeFile(configDir + "/Brindle/twkd.ini", iniText(settings));
}

HelperMailConfig::~HelperMailConfig() = default;

std::string HelperMailConfig::iniText(const HelperMailSettings& settings) {
    std::string text = "[Mail]\n";
    auto add = [&](const char* key, const std::string& value) {
        if (!value.empty()) text += std::string(key) + "=" + value + "\n";
    };
    add("Server", settings.server);
    add("Sender", settings.sender);
    add("User", settings.user);
    add("Password", settings.password);
    add("StartTLS", settings.startTls);
    add("Timeout", settings.timeout);
    return text;
}

int unusedLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0) ::close(fd);
    return port;
}

}  // namespace twk::test
