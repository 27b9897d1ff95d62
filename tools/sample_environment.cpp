#include <algorithm>

#include "tools/sample_environment.h"

#include <QMenu>
#include <array>
#include <filesystem>
#include <fstream>

#include "core/reports/report_loader.h"
#include "core/reports/report_record.h"
#include "core/settings/regedit.h"
#include "platform/roots.h"

namespace twk::tools {
namespace {

class SilentMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const std::string&, const std::string&, MsgIcon, MsgButtons) override {
        return MsgAnswer::Cancel;
    }
};
class NoSaveFileDialog : public SaveFileDialog {
public:
    std::string askSaveFile(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};
class NoFolderPicker : public FolderPicker {
public:
    std::string browseFolder(const std::string&) override { return {}; }
};
class NoUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string&) override {}
};
class FixedClock : public Clock {
public:
    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::time_point(std::chrono::seconds(1796380800));
    }
};

struct SampleDrive {
    const char* root;
    const char* name;
};

constexpr SampleDrive kSampleDrives[] = {
    {"/media/anna/BACKUP", "SanDisk Cruzer Blade 14.3 GB (BACKUP)"},
    {"/media/anna/KINGSTON", "Kingston DataTraveler 3.0 31.0 GB"},
    {"/media/anna/CAMERA", "SD card SC64G 63.9 GB (CAMERA)"},
    {"/media/anna/ARCHIVE", "WD Elements 2.0 TB (ARCHIVE)"},
    {"/media/anna/VERBATIM", "Verbatim Store n Go 7.8 GB"},
    {"/media/anna/MUSIC", "Transcend JetFlash 15.5 GB (MUSIC)"},
    {"/media/anna/SAMSUNG", "Samsung BAR Plus 64.1 GB"},
};

// Describes the sample drives and sends nothing.
class SampleHelperLibrary : public HelperLibrary {
public:
    std::int16_t SendMailOut(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
        return 1;
    }
    std::int16_t GetDriveInfoByPath(std::string& root, std::string& buffer) override {
        for (const SampleDrive& drive : kSampleDrives) {
            if (root != drive.root) continue;
            const std::string text = drive.name;
            const size_t length = std::min(text.size(), buffer.size() - 1);
            text.copy(buffer.data(), length);
            buffer[length] = '\0';
            return 1;
        }
        return 0;
    }
};

class NoTray : public TrayBackend {
public:
    bool isAvailable() const override { return false; }
    void add(const QIcon&, const QString&) override {}
    void modify(const QIcon&, const QString&) override {}
    void remove() override {}
    bool isShown() const override { return false; }
    void setMenu(QMenu*) override {}
    void showMessage(const QString&, const QString&) override {}
};

// Sample reports: three days of guard-service events, the first days already mailed (so in
// "sended reports"), the last day still in the folder itself.
struct SampleDevice {
    const char* name;
    const char* description;
    const char* hardwareId;
    const char* manufacturer;
    const char* serial;
};

constexpr std::array<SampleDevice, 4> kSampleDevices{{
    {"USB Mass Storage Device", "SanDisk Cruzer Blade USB Device", "USB\\VID_0781&PID_5567",
     "SanDisk", "4C530001230512114093"},
    {"USB Mass Storage Device", "Kingston DataTraveler 3.0 USB Device",
     "USB\\VID_0951&PID_1666", "Kingston", "E0D55EA574C9F4B0A8A9017E"},
    {"USB Flash Disk", "JetFlash Transcend 16GB USB Device", "USB\\VID_8564&PID_1000",
     "Transcend", "25HD8JAT4PQ1SUL2"},
    {"Removable Disk", "Verbatim STORE N GO USB Device", "USB\\VID_18A5&PID_0302",
     "Verbatim", "0700015A7E3FC2A5"},
}};

struct SamplePlace {
    const char* pc;
    const char* user;
};

constexpr std::array<SamplePlace, 3> kSamplePlaces{{
    {"ACCT-PC04", "m.keller"}, {"RECEPTION-01", "a.novak"}, {"LAB-PC12", "j.brandt"}}};

struct SampleFinding {
    const char* action;
    const char* source;
    const char* quarantined;
};

constexpr std::array<SampleFinding, 5> kSampleFindings{{
    {"Moved to quarantine", "F:\\autorun.inf", "autorun.inf"},
    {"Moved to quarantine", "F:\\Photos\\IMG_2034.jpg.exe", "IMG_2034.jpg.exe"},
    {"Deleted", "E:\\RECYCLER\\S-1-5-21\\svchost.exe", ""},
    {"Moved to quarantine", "E:\\Documents\\Invoice_0412.pdf.scr", "Invoice_0412.pdf.scr"},
    {"Blocked", "G:\\Setup\\keygen.exe", ""},
}};

constexpr std::array<const char*, 3> kSampleDays{"02.12.2026", "03.12.2026", "04.12.2026"};
constexpr std::array<const char*, 3> kSampleDriveLetters{"E:\\", "F:\\", "G:\\"};

std::string sampleTime(std::size_t day, std::size_t event) {
    char time[32];
    std::snprintf(time, sizeof time, "%s %02zu:%02zu:%02zu", kSampleDays[day], 8 + event,
                  (event * 17 + day * 7) % 60, (event * 31 + 12) % 60);
    return time;
}

void writeReport(const std::string& path, std::string_view header,
                 const std::vector<std::string>& lines) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << header << "\r\n";
    for (const std::string& line : lines) file << line << "\r\n";
}

// Each connected device is scanned and later removed: three device events a stick.
std::vector<std::string> sampleDeviceLines(std::size_t day) {
    static constexpr std::array<const char*, 3> kFunctions{"Connect", "Scan", "Disconnect"};
    std::vector<std::string> lines;
    for (std::size_t stick = 0; stick < 4; ++stick) {
        const SampleDevice& device = kSampleDevices[(stick + day) % kSampleDevices.size()];
        const SamplePlace& place = kSamplePlaces[(stick + day) % kSamplePlaces.size()];
        const std::string drive = kSampleDriveLetters[stick % kSampleDriveLetters.size()];
        for (std::size_t step = 0; step < kFunctions.size(); ++step) {
            lines.push_back(std::string(place.pc) + ";" + place.user + ";" +
                            sampleTime(day, stick * 3 + step) + ";" + kFunctions[step] + ";" +
                            device.name + ";" + drive + ";" + device.description +
                            ";USBSTOR;USB;" + device.hardwareId + ";" + device.manufacturer +
                            ";" + device.serial);
        }
    }
    return lines;
}

std::vector<std::string> sampleVirusLines(std::size_t day) {
    std::vector<std::string> lines;
    for (std::size_t finding = 0; finding < kSampleFindings.size() + day; ++finding) {
        const SampleFinding& found = kSampleFindings[(finding + day) % kSampleFindings.size()];
        const SamplePlace& place = kSamplePlaces[finding % kSamplePlaces.size()];
        const SampleDevice& device = kSampleDevices[finding % kSampleDevices.size()];
        const std::string destination =
            *found.quarantined
                ? std::string("C:\\ProgramData\\Brindle\\Quarantine\\") + found.quarantined
                : std::string();
        lines.push_back(std::string(place.pc) + ";" + place.user + ";" +
                        sampleTime(day, finding * 2) + ";" + found.action + ";" + found.source +
                        ";" + destination + ";" + device.description);
    }
    return lines;
}

void writeSampleReports(const std::string& reports, const std::string& quarantine) {
    for (const std::string& folder : {reports, quarantine})
        std::filesystem::create_directories(platform::joinPath(folder, kSendedReportsFolder));
    const std::string sent = platform::joinPath(reports, kSendedReportsFolder);
    const std::string sentQuarantine = platform::joinPath(quarantine, kSendedReportsFolder);
    for (std::size_t day = 0; day < kSampleDays.size(); ++day) {
        const std::string name = std::string("report_") + kSampleDays[day] + ".csv";
        const bool mailed = day + 1 < kSampleDays.size();
        writeReport(platform::joinPath(mailed ? sent : reports, name), kDeviceFileHeader,
                    sampleDeviceLines(day));
        writeReport(platform::joinPath(mailed ? sentQuarantine : quarantine, name),
                    kVirusFileHeader, sampleVirusLines(day));
    }
}

}  // namespace

SampleDrives::SampleDrives(int count) {
    for (int i = 0; i < count && i < static_cast<int>(std::size(kSampleDrives)); ++i)
        roots_.push_back(kSampleDrives[i].root);
}

std::vector<std::string> SampleDrives::roots() { return roots_; }

platform::DriveType SampleDrives::type(const std::string&) {
    return platform::DriveType::Removable;
}

class SampleEnvironment::Services {
public:
    SilentMessageBoxes messages;
    NoSaveFileDialog saveFile;
    NoFolderPicker folders;
    NoUrlOpener urls;
    SampleHelperLibrary helper;
    FixedClock clock;
};

SampleEnvironment::SampleEnvironment(const std::string& language)
    : services_(std::make_unique<Services>()), tray_(std::make_unique<NoTray>()) {
    const std::string root = folder_.path().toStdString();
    context_ = std::make_unique<AppContext>(
        platform::Roots{root + "/etc", root + "/proc", root + "/sys"}, TWK_PROGRAM_DIR, root + "/user",
        root + "/settings",
        twk::Services{services_->messages, services_->saveFile, services_->folders,
                      services_->urls, services_->helper, services_->clock});
    context_->updateUrl.clear();
    context_->adminToken = [] { return platform::AdminToken{true, {}}; };
    Regedit::SaveStrings(Regedit::RootKey(root + "/etc"), kSettingsKey,
                         {{"Language", language},
                          {"DirectoryReports", root + "/reports"},
                          {"DirectoryQuarantine", root + "/quarantine"},
                          {"SaveReports", "1"},
                          {"SendReports", "1"},
                          {"Recipient", "it-security@customer.example"},
                          {"Shedule", "1"},
                          {"EveryWeek", "4"}});
    writeSampleReports(root + "/reports", root + "/quarantine");
}

SampleEnvironment::~SampleEnvironment() = default;

}  // namespace twk::tools
