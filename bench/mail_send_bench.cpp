// Mails a report of many rows through the helper library and compares it with `curl` sending
// the same file to the same loopback SMTP server in the same run:
//   mail_send_bench [rows] [library folder]
// (default 1,000,000 rows of about 180 bytes, and this build's test variant of the library, which
// reads the bench's own mail settings; another folder's test variant compares builds)
// Prints, for each of three rounds, the library's time, CPU time and how much the process grew
// while it sent (peak RSS during the send above RSS before it), and curl's time, CPU time and
// peak RSS (sampled every 10 ms); then the best times and their ratio. With msmtp as /usr/sbin/sendmail it also times the mail-program
// route to the same server, for information.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "core/mail/helper_library.h"
#include "support/scoped_env.h"
#include "support/smtp_server.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kRecipient = "admin@customer.example";
constexpr const char* kSender = "tarnwick@test.example";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A devices export as the report page writes it.
void writeReport(const std::string& path, long rows) {
    std::ofstream out(path, std::ios::binary);
    out << "User;Time;Action;Name;Description;Path;Manufacturer; Service;Enumerator;Hardware ID;"
           "Serial number\r\n";
    char line[256];
    for (long row = 0; row < rows; ++row) {
        std::snprintf(line, sizeof line,
                      "PC-%04ld;user%05ld;%02ld.01.2024 %02ld:%02ld:%02ld;Connect;USB Flash Disk %ld;"
                      "Kingston DataTraveler 3.0 USB Device;E:\\;USBSTOR;USB;"
                      "USBSTOR\\DISK&VEN_KINGSTON&PROD_DT&REV_PMAP;%016lX\r\n",
                      row % 1000, row % 50000, 1 + row % 28, row % 24, row % 60, (row * 7) % 60,
                      row % 9, static_cast<unsigned long>(row) * 2654435761UL);
        out << line;
    }
}

// Kilobytes of a field of /proc/<process>/status.
long statusKilobytes(const char* field, const std::string& process = "self") {
    std::ifstream status("/proc/" + process + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// Sets the peak RSS back to the current RSS, so the next peak belongs to what follows.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Outcome {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;  // user and system time of the sending process
    double megabytes = 0;   // library: growth during the send; curl: its peak RSS
};

double cpuSeconds(const rusage& usage) {
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Outcome sendWithLibrary(twk::HelperLibrary& library, const std::string& file) {
    resetPeak();
    const long before = statusKilobytes("VmRSS:");
    rusage cpuBefore{}, cpuAfter{};
    getrusage(RUSAGE_SELF, &cpuBefore);
    const auto start = Clock::now();
    const bool ok =
        library.SendMailOut(kRecipient, "Report from Tarnwick program", "Date:\\n", file) == 0;
    const double seconds = secondsSince(start);
    getrusage(RUSAGE_SELF, &cpuAfter);
    return {ok, seconds, cpuSeconds(cpuAfter) - cpuSeconds(cpuBefore),
            (statusKilobytes("VmHWM:") - before) / 1024.0};
}

Outcome sendWithCurl(int port, const std::string& file) {
    const std::string url = "smtp://127.0.0.1:" + std::to_string(port);
    const std::string part = "=@" + file + ";type=application/octet-stream;encoder=base64";
    std::vector<std::string> args = {"curl", "-sS", url, "--mail-from", kSender, "--mail-rcpt",
                                     kRecipient, "-H", "Subject: Report from Tarnwick program",
                                     "-F", part};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, "curl", nullptr, nullptr, argv.data(), environ) != 0) return {};
    // curl's own peak, read from its status while it runs: the peak that wait4 reports would
    // start from this process's, whose memory the spawned child shares until it runs curl.
    long peak = 0;
    int status = 0;
    rusage usage{};
    pid_t ended = 0;
    while ((ended = wait4(child, &status, WNOHANG, &usage)) == 0) {
        peak = std::max(peak, statusKilobytes("VmHWM:", std::to_string(child)));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (ended != child) return {};
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, secondsSince(start), cpuSeconds(usage),
            peak / 1024.0};
}

void print(const char* name, const Outcome& outcome) {
    std::printf("  %-22s %s %7.2f s  CPU %6.2f s  %7.1f MB\n", name,
                outcome.ok ? "sent    " : "NOT SENT", outcome.seconds, outcome.cpuSeconds,
                outcome.megabytes);
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::stol(argv[1]) : 1'000'000;
    twk::test::TempDir dir;
    const std::string file = dir.file("ManualReport.csv");
    writeReport(file, rows);
    const double megabytes = std::filesystem::file_size(file) / 1e6;
    std::printf("attachment: %ld rows, %.1f MB\n", rows, megabytes);

    twk::test::SmtpServerOptions counting;
    counting.discard = true;
    twk::test::SmtpServer server(counting);
    if (!server.running()) {
        std::cerr << server.error() << "\n";
        return 1;
    }
    twk::test::HelperMailSettings smtp;
    smtp.server = server.url();
    smtp.timeout = "120";
    twk::LoadedHelperLibrary library(argc > 2 ? argv[2] : TWK_TEST_HELPER_DIR);
    std::vector<Outcome> ours, theirs;
    {
        twk::test::HelperMailConfig config(dir.path(), smtp);
        // Loads the library and libcurl, so the rounds measure sending alone.
        if (library.SendMailOut(kRecipient, "warm-up", "body", "") != 0) {
            std::cerr << "the warm-up message was not sent\n";
            return 1;
        }
        for (int round = 1; round <= 3; ++round) {
            std::printf("round %d\n", round);
            ours.push_back(sendWithLibrary(library, file));
            print("SendMailOut (SMTP)", ours.back());
            theirs.push_back(sendWithCurl(server.port(), file));
            print("curl", theirs.back());
        }
    }
    auto best = [](const std::vector<Outcome>& outcomes) {
        double seconds = 1e30;
        for (const Outcome& outcome : outcomes)
            if (outcome.ok) seconds = std::min(seconds, outcome.seconds);
        return seconds;
    };
    double growth = 0;
    for (const Outcome& outcome : ours) growth = std::max(growth, outcome.megabytes);
    std::printf("best: SendMailOut %.2f s, curl %.2f s, ratio %.2f; largest growth %.1f MB\n",
                best(ours), best(theirs), best(ours) / best(theirs), growth);

    std::error_code error;
    if (std::filesystem::canonical("/usr/sbin/sendmail", error).filename() == "msmtp") {
        twk::test::writeFile(dir.file(".msmtprc"),
                             "account default\nhost 127.0.0.1\nport " +
                                 std::to_string(server.port()) + "\nauth off\ntls off\n");
        std::filesystem::permissions(dir.file(".msmtprc"), std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_write);
        twk::test::ScopedEnvironment home("HOME", dir.path());
        twk::test::HelperMailSettings mta;
        mta.timeout = "120";
        twk::test::HelperMailConfig config(dir.path(), mta);
        print("SendMailOut (msmtp)", sendWithLibrary(library, file));
    }
    return 0;
}
