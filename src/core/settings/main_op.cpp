#include "core/settings/main_op.h"

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

}  // namespace

ReportFolders defaultReportFolders(const std::string& programFolder) {
    const std::string base = programFolder == platform::installedProgramFolder()
                                 ? platform::systemDataFolder()
                                 : programFolder;
    return {platform::joinPath(base, "reports"), platform::joinPath(base, "quarantine")};
}

MainOp::MainOp(Regedit::RootKey root, std::string programFolder)
    : root_(std::move(root)), programFolder_(std::move(programFolder)) {}

void MainOp::Init() {
    const Regedit::KeySnapshot stored(root_, kSettingsKey);
    for (const Field& field : kFields) this->*field.property = stored.GetString(field.valueName);
    if (lang.empty()) lang = "English";
    const ReportFolders defaults = defaultReportFolders(programFolder_);
    if (DirRep.empty()) DirRep = defaults.reports;
    if (DirQuar.empty()) DirQuar = defaults.quarantine;
}

bool MainOp::Save() const {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Field& field : kFields) values.emplace_back(field.valueName, this->*field.property);
    return Regedit::SaveStrings(root_, kSettingsKey, values);
}

}  // namespace twk
