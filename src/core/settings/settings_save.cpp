#include "core/settings/settings_save.h"

#include <algorithm>
#include <utility>

#include "core/settings/main_op.h"
#include "platform/privileged_save.h"
#include "platform/reasons.h"

namespace twk {
namespace {

using Kind = SavedSetting::Kind;

// The verb of each kind, with the blank that follows it.
constexpr std::pair<Kind, const char*> kVerbs[] = {
    {Kind::Changed, "set "},
    {Kind::Kept, "keep "},
    {Kind::FilledIn, "default "},
};
constexpr const char* kStartWithSession = "StartWindows";

bool isKnownName(const std::string& name) {
    const std::vector<std::string>& names = settingValueNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isAllowedValue(const std::string& value) {
    if (value.size() > kMaxSavedValue) return false;
    return std::none_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// One line without its line feed, or nothing.
std::optional<SavedSetting> parseLine(const std::string& line) {
    for (const auto& [kind, verb] : kVerbs) {
        if (line.rfind(verb, 0) != 0) continue;
        const std::string rest = line.substr(std::string(verb).size());
        const std::size_t equals = rest.find('=');
        if (equals == std::string::npos) return std::nullopt;
        SavedSetting setting{rest.substr(0, equals), rest.substr(equals + 1), kind};
        if (!isKnownName(setting.name) || !isAllowedValue(setting.value)) return std::nullopt;
        return setting;
    }
    return std::nullopt;
}

const char* verbOf(Kind kind) {
    for (const auto& [each, verb] : kVerbs)
        if (each == kind) return verb;
    return "";
}

bool holdsName(const SaveRequest& request, const std::string& name) {
    return std::any_of(request.begin(), request.end(),
                       [&](const SavedSetting& setting) { return setting.name == name; });
}

// The text the store holds for setting, or nothing when it holds no text for it.
std::optional<std::string> storedText(const platform::RegValues& stored,
                                      const SavedSetting& setting) {
    const platform::RegValue* value = platform::findRegValue(stored, setting.name);
    if (!value || value->type != platform::RegValue::Type::String) return std::nullopt;
    if (setting.kind == Kind::FilledIn && value->text.empty()) return std::nullopt;
    return value->text;
}

}  // namespace

std::string formatSaveRequest(const SaveRequest& request) {
    std::string text;
    for (const SavedSetting& setting : request)
        text += verbOf(setting.kind) + setting.name + "=" + setting.value + "\n";
    return text;
}

std::optional<SaveRequest> parseSaveRequest(const std::string& text) {
    SaveRequest request;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) return std::nullopt;
        std::optional<SavedSetting> setting = parseLine(text.substr(start, end - start));
        if (!setting || holdsName(request, setting->name)) return std::nullopt;
        request.push_back(std::move(*setting));
        start = end + 1;
    }
    if (request.size() != settingValueNames().size()) return std::nullopt;
    return request;
}

platform::RegValues settingsToWrite(const SaveRequest& request, const platform::RegValues& stored) {
    platform::RegValues values;
    for (const SavedSetting& setting : request) {
        std::optional<std::string> text;
        if (setting.kind != Kind::Changed) text = storedText(stored, setting);
        values.emplace_back(setting.name, platform::RegValue::string(text.value_or(setting.value)));
    }
    return values;
}

SaveTarget systemSaveTarget(const platform::Roots& roots, const std::string& programFolder) {
    return {platform::RegistryRoot(roots.configDir), platform::SessionAutostart(roots.configDir),
            programFolder};
}

bool applySave(const SaveTarget& target, const SaveRequest& request) {
    return target.store.update(
        kSettingsKey, [&](const platform::RegValues& stored) -> std::optional<platform::RegValues> {
            platform::RegValues values = settingsToWrite(request, stored);
            // The entry first: when it cannot follow, the store stays as it was.
            if (target.autostart) {
                const platform::RegValue* start = platform::findRegValue(values, kStartWithSession);
                const bool on = start && start->text == "1";
                if (!target.autostart->keep(on, target.programFolder)) {
                    platform::logReason(platform::ReasonTopic::Settings,
                                        "the session's autostart entry could not follow "
                                        "StartWindows; nothing was saved");
                    return std::nullopt;
                }
            }
            return values;
        });
}

SettingsWriter directSettingsWriter(SaveTarget target) {
    return [target = std::move(target)](const SaveRequest& request) {
        return applySave(target, request);
    };
}

SettingsWriter helperSettingsWriter(std::string helperPath) {
    return [helperPath = std::move(helperPath)](const SaveRequest& request) {
        return platform::runSettingsHelper(helperPath, formatSaveRequest(request)) == 0;
    };
}

SettingsWriter machineSettingsWriter(const platform::Roots& roots,
                                     const std::string& programFolder) {
    if (!platform::writesSystemStore())
        return helperSettingsWriter(platform::settingsHelperPath(programFolder));
    return directSettingsWriter(systemSaveTarget(roots, programFolder));
}

}  // namespace twk
