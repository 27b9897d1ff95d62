// The update check over any version.dat the update server (or a broken proxy) may have left in
// the user folder: the two INI reads and the decision to ask and to open an address.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "fuzz_support.h"

namespace {

class RecordedBoxes : public twk::MessageBoxes {
public:
    twk::MsgAnswer show(const std::string& text, const std::string& title, twk::MsgIcon,
                        twk::MsgButtons) override {
        texts.push_back(text);
        titles.push_back(title);
        return answer;
    }
    twk::MsgAnswer answer = twk::MsgAnswer::Ok;
    std::vector<std::string> texts, titles;
};

class RecordedUrls : public twk::UrlOpener {
public:
    void openUrl(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    RecordedBoxes boxes;
    boxes.answer = input.ConsumeBool() ? twk::MsgAnswer::Ok : twk::MsgAnswer::Cancel;
    const std::string userFolder = twk::fuzz::scratchPath("user");
    const std::string copy = userFolder + "/version.dat";
    twk::fuzz::writeBytes(copy, input.ConsumeRemainingBytesAsString());

    twk::MainOp settings(twk::Regedit::RootKey(twk::fuzz::scratchPath("store")), "/opt/tarnwick");
    RecordedUrls urls;
    // No server: the download fails at once and the copy in the user folder is compared.
    settings.isNew("", userFolder, boxes, urls, twk::LangOp());

    const std::string version = twk::Regedit::ReadIniString("Tarnwick", "Version", copy);
    const std::string url = twk::Regedit::ReadIniString("Tarnwick", "URL", copy);
    const bool announce = !version.empty() && version != twk::kProgramVersion;
    FUZZ_CHECK(boxes.texts.size() == (announce ? 1u : 0u));
    if (announce) {
        FUZZ_CHECK(boxes.texts[0] ==
                   "New version Tarnwick " + version + " is avialable! Go to the homepage?");
        FUZZ_CHECK(boxes.titles[0] == "New Version");
    }
    const bool opens = announce && boxes.answer == twk::MsgAnswer::Ok && twk::isWebAddress(url);
    FUZZ_CHECK(urls.opened == (opens ? std::vector<std::string>{url} : std::vector<std::string>{}));
    for (const std::string& opened : urls.opened) FUZZ_CHECK(twk::isOpenableAddress(opened));
    return 0;
}
