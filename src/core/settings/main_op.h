#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/settings/regedit.h"
#include "core/settings/settings_save.h"

namespace twk {

class LangOp;
class MessageBoxes;
class UrlOpener;

inline constexpr const char* kSettingsKey = "Software\\Brindle\\Tarnwick";
inline constexpr const char* kProgramVersion = "1.41";

inline constexpr std::size_t kSettingCount = 12;

// The registry value names of the twelve settings, in the order they are written.
const std::vector<std::string>& settingValueNames();

// The report folders used while the settings name none.
struct ReportFolders {
    std::string reports;
    std::string quarantine;
};
// An installed program's are the system's folders that the package (the installer) creates for
// the guard service; a program run from any other folder (its build folder) keeps them beside
// itself.
ReportFolders defaultReportFolders(const std::string& programFolder);

// The settings object: every option as text, loaded from the registry with three defaults and
// written back whole.
class MainOp {
public:
    // Saves go through writer; without one, straight into root.
    MainOp(Regedit::RootKey root, std::string programFolder, SettingsWriter writer = {});

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
    // Writes all twelve values together: a value changed since the last Init or Save with the
    // text it holds now, an unchanged one with what the store holds at that moment, a default
    // Init filled in where the store still holds no text (see settingsToWrite). Nothing reaches
    // the store when that changes nothing. After a save every property holds what the store
    // holds (Init); false when nothing could be written, and the properties keep their texts.
    bool Save();

    // The update check: fetches the version file from updateUrl into userFolder (see
    // platform::userFilesFolder) and, when the published version differs from ours, offers to
    // open its download address, asking in the language of texts.
    void isNew(const std::string& updateUrl, const std::string& userFolder, MessageBoxes& boxes,
               UrlOpener& urls, const LangOp& texts) const;

    const std::string& programFolder() const { return programFolder_; }
    const Regedit::RootKey& root() const { return root_; }

private:
    SaveRequest saveRequest() const;

    Regedit::RootKey root_;
    std::string programFolder_;
    SettingsWriter writer_;
    std::array<std::string, kSettingCount> loaded_;  // the texts of the last Init or Save
    std::array<bool, kSettingCount> filledIn_{};     // which of them Init filled in
};

}  // namespace twk
