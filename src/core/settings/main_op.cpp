#include "core/settings/main_op.h"

#include <utility>

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

MainOp::MainOp(Regedit::RootKey root, std::string programFolder)
    : root_(std::move(root)), programFolder_(std::move(programFolder)) {}

void MainOp::Init() {
    const Regedit::KeySnapshot stored(root_, kSettingsKey);
    for (const Field& field : kFields) this->*field.property = stored.GetString(field.valueName);
    if (lang.empty()) lang = "English";
    if (DirRep.empty()) DirRep = platform::joinPath(programFolder_, "reports");
    if (DirQuar.empty()) DirQuar = platform::joinPath(programFolder_, "quarantine");
}

bool MainOp::Save() const {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Field& field : kFields) values.emplace_back(field.valueName, this->*field.property);
    return Regedit::SaveStrings(root_, kSettingsKey, values);
}

}  // namespace twk
