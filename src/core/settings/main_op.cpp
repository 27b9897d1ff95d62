#include "core/settings/main_op.h"

#include <iterator>
#include <utility>

#include "platform/program_folder.h"
#include "platform/roots.h"

namespace twk {
namespace {

struct Field {
    const char* valueName;
    std::string MainOp::*property;
};

// Registry value names in the order they are written.
constexpr Field kFields[] = {
    {"Language", &MainOp::lang},
    {"SaveReports", &MainOp::isSaveReport},
    {"DirectoryReports", &MainOp::DirRep},
    {"DirectoryQuarantine", &MainOp::DirQuar},
    {"StartWindows", &MainOp::isStartWind},
    {"Recipient", &MainOp::Recip},
    {"SendReports", &MainOp::isSendRep},
    {"Shedule", &MainOp::Shed},
    {"Time", &MainOp::Time},
    {"EveryWeek", &MainOp::EW},
    {"EveryMonth", &MainOp::EM},
    {"Guard", &MainOp::isGuard},
};
static_assert(std::size(kFields) == kSettingCount);

// True when the save would store exactly what the store holds, so it need not reach the store
// (nor ask for an administrator's password).
bool nothingToWrite(const SaveRequest& request, const Regedit::RootKey& root) {
    for (const SavedSetting& setting : request)
        if (setting.kind == SavedSetting::Kind::Changed) return false;
    const platform::RegValues stored = root.readAll(kSettingsKey);
    for (const auto& [name, value] : settingsToWrite(request, stored)) {
        const platform::RegValue* held = platform::findRegValue(stored, name);
        if (!held || held->type != platform::RegValue::Type::String || held->text != value.text)
            return false;
    }
    return true;
}

}  // namespace

const std::vector<std::string>& settingValueNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Field& field : kFields) list.emplace_back(field.valueName);
        return list;
    }();
    return names;
}

ReportFolders defaultReportFolders(const std::string& programFolder) {
    const std::string base = platform::isInstalledProgramFolder(programFolder)
                                 ? platform::systemDataFolder()
                                 : programFolder;
    return {platform::joinPath(base, "reports"), platform::joinPath(base, "quarantine")};
}

MainOp::MainOp(Regedit::RootKey root, std::string programFolder, SettingsWriter writer)
    : root_(std::move(root)), programFolder_(std::move(programFolder)), writer_(std::move(writer)) {
    if (!writer_) writer_ = directSettingsWriter(SaveTarget{root_, {}, programFolder_});
}

void MainOp::Init() {
    const Regedit::KeySnapshot stored(root_, kSettingsKey);
    for (const Field& field : kFields) this->*field.property = stored.GetString(field.valueName);
    std::array<bool, kSettingCount> empty{};
    for (std::size_t i = 0; i < kSettingCount; ++i) empty[i] = (this->*kFields[i].property).empty();
    if (lang.empty()) lang = "English";
    const ReportFolders defaults = defaultReportFolders(programFolder_);
    if (DirRep.empty()) DirRep = defaults.reports;
    if (DirQuar.empty()) DirQuar = defaults.quarantine;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        loaded_[i] = this->*kFields[i].property;
        filledIn_[i] = empty[i] && !loaded_[i].empty();
    }
}

SaveRequest MainOp::saveRequest() const {
    using Kind = SavedSetting::Kind;
    SaveRequest request;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const std::string& value = this->*kFields[i].property;
        const Kind kind = value != loaded_[i] ? Kind::Changed
                          : filledIn_[i]      ? Kind::FilledIn
                                              : Kind::Kept;
        request.push_back({kFields[i].valueName, value, kind});
    }
    return request;
}

bool MainOp::Save() {
    const SaveRequest request = saveRequest();
    if (!nothingToWrite(request, root_) && !writer_(request)) return false;
    Init();
    return true;
}

}  // namespace twk
