#include "core/settings/regedit.h"

#include "platform/download.h"

namespace twk::Regedit {

bool SaveString(const RootKey& root, const std::string& keyPath, const std::string& name,
                const std::string& text) {
    return SaveStrings(root, keyPath, {{name, text}});
}

bool SaveStrings(const RootKey& root, const std::string& keyPath,
                 const std::vector<std::pair<std::string, std::string>>& values) {
    platform::RegValues regValues;
    regValues.reserve(values.size());
    for (const auto& [name, text] : values)
        regValues.emplace_back(name, platform::RegValue::string(text));
    return root.write(keyPath, regValues);
}

namespace {

std::string textOf(const platform::RegValue* value) {
    if (!value || value->type != platform::RegValue::Type::String) return {};
    return value->text;
}

}  // namespace

std::string GetString(const RootKey& root, const std::string& keyPath, const std::string& name) {
    auto value = root.read(keyPath, name);
    return textOf(value ? &*value : nullptr);
}

KeySnapshot::KeySnapshot(const RootKey& root, const std::string& keyPath)
    : values_(root.readAll(keyPath)) {}

std::string KeySnapshot::GetString(const std::string& name) const {
    return textOf(platform::findRegValue(values_, name));
}

std::string ReadIniString(const std::string& section, const std::string& key,
                          const std::string& file, std::uint64_t maxFileBytes) {
    return platform::readProfileString(section, key, file, maxFileBytes, kIniValueLimit);
}

std::vector<std::string> ReadIniStrings(std::span<const platform::ProfileKey> keys,
                                        const std::string& file, std::uint64_t maxFileBytes) {
    return platform::readProfileStrings(file, keys, maxFileBytes, kIniValueLimit);
}

bool DownloadFile(const std::string& url, const std::string& file, std::string* failure) {
    return platform::downloadFile(url, file, {}, failure);
}

}  // namespace twk::Regedit
