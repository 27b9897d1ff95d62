#pragma once

#include <string>

#include "core/settings/regedit.h"

namespace twk {

class MessageBoxes;
class UrlOpener;

inline constexpr const char* kSettingsKey = "Software\\Brindle\\Tarnwick";
inline constexpr const char* kProgramVersion = "1.41";

// The report folders used while the settings name none.
struct ReportFolders {
    std::string reports;
    std::string quarantine;
};
// An installed program's are the system's folders that the package creates for the guard
// service; a program run from any other folder (its build folder) keeps them beside itself.
ReportFolders defaultReportFolders(const std::string& programFolder);

// The settings object: every option as text, loaded from the registry with three defaults and
// written back whole.
class MainOp {
public:
    MainOp(Regedit::RootKey root, std::string programFolder);

    std::string lang;
    std::string isSaveReport;
    std::string DirRep;
    std::string DirQuar;
    std::string isStartWind;
    std::string isSendRep;
    std::string Recip;
    std::string Shed;
    std::string Time;
    std::string EW;
    std::string EM;
    std::string isGuard;

    // Reads every setting; lang, DirRep and DirQuar get their defaults when empty. Writes
    // nothing.
    void Init();
    // Writes all twelve values together (see Regedit::SaveStrings); false when any was not
    // written.
    bool Save() const;

    // The update check: fetches the version file from updateUrl into userFolder (see
    // platform::userFilesFolder) and, when the published version differs from ours, offers to
    // open its download address.
    void isNew(const std::string& updateUrl, const std::string& userFolder, MessageBoxes& boxes,
               UrlOpener& urls) const;

    const std::string& programFolder() const { return programFolder_; }
    const Regedit::RootKey& root() const { return root_; }

private:
    Regedit::RootKey root_;
    std::string programFolder_;
};

}  // namespace twk
