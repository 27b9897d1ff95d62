#include <algorithm>

#include "tools/sample_environment.h"

#include <QMenu>

#include "core/settings/regedit.h"

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
    void popup(QMenu*, QPoint) override {}
};

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
        platform::Roots{root + "/etc", root + "/proc", root + "/sys"}, TWK_PROGRAM_DIR,
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
}

SampleEnvironment::~SampleEnvironment() = default;

}  // namespace twk::tools
