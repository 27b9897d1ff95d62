// Generates a report folder and its "sended reports" subfolder for the load benchmark:
//   make_reports <devices|viruses> <folder> <files> <lines per file> [dates]
// Every fourth file goes to "sended reports". Each file starts with its kind's header line and
// its records spread over the given number of dates, in time order across the files.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "core/reports/report_loader.h"
#include "core/reports/report_record.h"
#include "platform/files.h"
#include "platform/roots.h"

namespace {

std::string twoDigits(long value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02ld", value % 100);
    return text;
}

// 336 dates a year from 2013 on, so that up to a million dates stay distinct.
std::string dateText(long index) {
    return twoDigits(1 + index % 28) + "." + twoDigits(1 + index / 28 % 12) + "." +
           std::to_string(2013 + index / 336);
}

std::string timeText(long line) {
    return twoDigits(line / 3600 % 24) + ":" + twoDigits(line / 60 % 60) + ":" +
           twoDigits(line % 60);
}

std::string deviceLine(long line, const std::string& time) {
    const std::string serial = "4C5300012304" + std::to_string(10000000 + line % 90000000);
    const std::string user = line % 3 ? "j.harrington" : "m.oyelaran-smith";
    return "WS-ACCOUNTING-" + twoDigits(line % 37) + ";" + user + ";" + time +
           ";Connect;Cruzer Blade;USBSTOR\\DISK\\" + serial +
           ";Disk drive;disk;USBSTOR;USB\\VID_0781&PID_5567;SanDisk;" + serial;
}

std::string virusLine(long line, const std::string& time) {
    const std::string name = "setup_" + std::to_string(line % 100000) + ".exe";
    return "WS-ACCOUNTING-" + twoDigits(line % 37) + ";j.harrington;" + time +
           ";Moved to quarantine;E:\\Downloads\\" + name + ";C:\\Quarantine\\" + name +
           ";SanDisk Cruzer Blade USB Device";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: make_reports <devices|viruses> <folder> <files> <lines per file> "
                     "[dates]\n";
        return 2;
    }
    const bool devices = std::string(argv[1]) == "devices";
    const std::string folder = argv[2];
    const long files = std::atol(argv[3]);
    const long lines = std::atol(argv[4]);
    const long dates = argc > 5 ? std::atol(argv[5]) : 30;
    const std::string sended = platform::joinPath(folder, twk::kSendedReportsFolder);
    if (!platform::makeDir(folder) || !platform::makeDir(sended) || files < 1 || lines < 1 ||
        dates < 1) {
        std::cerr << "cannot prepare " << folder << "\n";
        return 1;
    }
    const std::string header(
        twk::FileHeader(devices ? twk::ReportKind::Devices : twk::ReportKind::Viruses));
    const long total = files * lines;
    unsigned long long bytes = 0;
    for (long file = 0; file < files; ++file) {
        char name[32];
        std::snprintf(name, sizeof name, "report_%05ld.csv", file);
        const std::string path = platform::joinPath(file % 4 == 0 ? sended : folder, name);
        std::ofstream out(path, std::ios::binary);
        out << header << "\r\n";
        for (long line = file * lines; line < (file + 1) * lines; ++line) {
            const std::string time = dateText(line * dates / total) + " " + timeText(line);
            out << (devices ? deviceLine(line, time) : virusLine(line, time)) << "\r\n";
        }
        bytes += static_cast<unsigned long long>(out.tellp());
        if (!out.flush()) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
    }
    std::cout << total << " lines, " << bytes << " bytes, " << (bytes / total) << " bytes a line\n";
    return 0;
}
