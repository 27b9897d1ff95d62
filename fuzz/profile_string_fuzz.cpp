// The INI reader behind language files, version.dat and twkd.ini, over any text.
#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile_string.h"

namespace {

constexpr size_t kMaxChars = 254;
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 20;

void lookUp(const std::string& section, const std::string& key, const std::string& text,
            const std::string& file) {
    const std::string value = platform::profileStringFromText(section, key, text);
    // A value is one line's text with its blanks and quotes dropped: a piece of the file.
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(text.find(value) != std::string::npos);
    const std::string cut =
        platform::readProfileString(section, key, file, kMaxFileBytes, kMaxChars);
    FUZZ_CHECK(cut == value.substr(0, kMaxChars));
}

// One pass for many keys finds what a lookup of each key alone finds.
void lookUpTogether(const std::string& section, const std::string& key, const std::string& text) {
    const platform::ProfileKey keys[] = {
        {section, key}, {"Tarnwick", "Version"}, {"frmMain", "lfm_reports"},
        {key, section}, {section, "lfr_save"},   {section, key}};
    const std::vector<std::string> values = platform::profileStringsFromText(keys, text);
    for (size_t i = 0; i < std::size(keys); ++i)
        FUZZ_CHECK(values[i] ==
                   platform::profileStringFromText(keys[i].section, keys[i].key, text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string text = input.ConsumeRemainingBytesAsString();
    const std::string file = twk::fuzz::scratchPath("file.ini");
    twk::fuzz::writeBytes(file, text);
    lookUp(section, key, text, file);
    lookUp("Tarnwick", "Version", text, file);
    lookUp("frmMain", "lfm_reports", text, file);
    lookUpTogether(section, key, text);
    return 0;
}
