// The options page's time box and schedule lists over stored values a hand edit may have left
// (Time, Shedule, EveryWeek, EveryMonth, the day names caption) and over anything typed.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "core/options/options_store.h"
#include "core/options/time_box.h"
#include "core/settings/main_op.h"
#include "fuzz_support.h"

namespace {

namespace options = twk::options;

bool allDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// Four digits of a time in range, as the box holds it.
bool isTimeInRange(const std::string& value) {
    return value.size() == 4 && allDigits(value) && value.substr(0, 2) <= "23" &&
           value.substr(2, 2) <= "59";
}

void checkTyped(const std::string& typed) {
    const std::string clamped = options::clampTime(typed);
    FUZZ_CHECK(options::clampTime(clamped) == clamped);
    // Hours out of range cut four characters to the two of "23"; nothing else changes the length.
    const bool cutToHours = typed.size() == 4 && clamped == "23";
    FUZZ_CHECK(clamped.size() == typed.size() || cutToHours);
    if (allDigits(typed) && typed.size() == 4) FUZZ_CHECK(isTimeInRange(clamped) || cutToHours);
    if (allDigits(typed) && typed.size() == 2) FUZZ_CHECK(clamped <= "23");
    FUZZ_CHECK(isTimeInRange(options::timeInRange(typed)) || typed.size() != 4 || !allDigits(typed));

    const std::string stored = options::storedTimeOf(typed);
    FUZZ_CHECK(stored.empty() == !options::isCompleteTime(typed));
    if (!stored.empty()) {
        FUZZ_CHECK(stored.size() == 5 && stored[2] == ':');
        if (allDigits(typed)) FUZZ_CHECK(options::timeValueOfStored(stored) == typed);
    }
}

void checkStored(const std::string& stored) {
    const std::string value = options::timeValueOfStored(stored);
    if (value.empty()) return;
    FUZZ_CHECK(value.size() == 4 && allDigits(value));
    FUZZ_CHECK(options::storedTimeOf(value) == stored);
}

void checkLoaded(const twk::MainOp& settings, const std::string& weekNames) {
    const options::OptionsState state = options::LoadOptions(settings, weekNames, {});
    // Whatever was stored, the box holds a time that saving may store as it is.
    FUZZ_CHECK(isTimeInRange(state.time));
    FUZZ_CHECK(state.weekdays.size() <= options::kMaxWeekdays);
    FUZZ_CHECK(state.monthDays.size() == 30);
    if (state.weekdays.empty())
        FUZZ_CHECK(state.weekday == -1);
    else
        FUZZ_CHECK(state.weekday >= 0 && state.weekday < static_cast<int>(state.weekdays.size()));
    FUZZ_CHECK(state.monthDay >= 0 && state.monthDay < 30);
    int radios = 0;
    for (const auto& radio : state.schedule) radios += radio.isOn() ? 1 : 0;
    FUZZ_CHECK(radios <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    checkTyped(input.ConsumeRandomLengthString(8));

    twk::MainOp settings(twk::Regedit::RootKey(twk::fuzz::scratchPath("store")), "/opt/tarnwick");
    settings.isSendRep = input.ConsumeBool() ? "1" : input.ConsumeRandomLengthString(3);
    settings.Shed = input.ConsumeRandomLengthString(4);
    settings.Time = input.ConsumeRandomLengthString(8);
    settings.EW = input.ConsumeRandomLengthString(6);
    settings.EM = input.ConsumeRandomLengthString(6);
    checkStored(settings.Time);
    checkLoaded(settings, input.ConsumeRemainingBytesAsString());
    return 0;
}
