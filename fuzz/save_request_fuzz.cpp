// The settings helper's save request, over any text, and what a save writes over any store.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/settings/main_op.h"
#include "core/settings/settings_save.h"
#include "fuzz_support.h"
#include "platform/store.h"

namespace {

bool hasControl(const std::string& value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

const std::string* storedText(const platform::RegValues& stored, const std::string& name) {
    const platform::RegValue* value = platform::findRegValue(stored, name);
    return value && value->type == platform::RegValue::Type::String ? &value->text : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string storeText = input.ConsumeRandomLengthString(4096);
    const std::string text = input.ConsumeRemainingBytesAsString();
    const auto request = twk::parseSaveRequest(text);
    if (!request) return 0;
    // Only the one written form passes, so it reads back exactly.
    FUZZ_CHECK(twk::formatSaveRequest(*request) == text);
    FUZZ_CHECK(request->size() == twk::kSettingCount);
    for (const twk::SavedSetting& setting : *request) {
        FUZZ_CHECK(setting.value.size() <= twk::kMaxSavedValue);
        FUZZ_CHECK(!hasControl(setting.value));
    }
    // Whatever the store holds, a save writes the twelve settings as text: a changed one as the
    // page holds it, any other as the store holds it, so another writer's change survives.
    const platform::RegValues stored = platform::parseRegistryText(storeText, twk::kSettingsKey);
    const platform::RegValues written = twk::settingsToWrite(*request, stored);
    FUZZ_CHECK(written.size() == twk::kSettingCount);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const twk::SavedSetting& setting = (*request)[i];
        FUZZ_CHECK(written[i].first == setting.name);
        FUZZ_CHECK(written[i].second.type == platform::RegValue::Type::String);
        const std::string& text = written[i].second.text;
        if (setting.kind == twk::SavedSetting::Kind::Changed) {
            FUZZ_CHECK(text == setting.value);
            continue;
        }
        const std::string* held = storedText(stored, setting.name);
        const bool storeWins = held && !(setting.kind == twk::SavedSetting::Kind::FilledIn &&
                                         held->empty());
        FUZZ_CHECK(text == (storeWins ? *held : setting.value));
    }
    return 0;
}
