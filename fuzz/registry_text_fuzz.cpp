// The settings store's key file reader: whatever a hand edit or a torn disk leaves in the file,
// the values read from it are written back in a form that reads back the same.
#include <string>

#include "fuzz_support.h"
#include "platform/store.h"

namespace {

constexpr const char* kKeyPath = "Software\\Brindle\\Tarnwick";

bool sameValue(const platform::RegValue& a, const platform::RegValue& b) {
    if (a.type != b.type) return false;
    if (a.type == platform::RegValue::Type::Dword) return a.dword == b.dword;
    return a.text == b.text;
}

bool sameValues(const platform::RegValues& a, const platform::RegValues& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first || !sameValue(a[i].second, b[i].second)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const platform::RegValues values = platform::parseRegistryText(text);
    for (const auto& [name, value] : values) {
        const platform::RegValue* found = platform::findRegValue(values, name);
        FUZZ_CHECK(found != nullptr);
        // Names are unique without regard to case: a lookup finds the value itself.
        FUZZ_CHECK(found == &value);
    }
    const std::string written = platform::formatRegistryText(kKeyPath, values);
    const platform::RegValues reread = platform::parseRegistryText(written);
    FUZZ_CHECK(sameValues(values, reread));
    FUZZ_CHECK(platform::formatRegistryText(kKeyPath, reread) == written);
    return 0;
}
