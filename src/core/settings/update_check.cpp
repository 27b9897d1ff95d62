#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "platform/reasons.h"
#include "platform/roots.h"
#include "platform/user_files.h"

namespace twk {

void MainOp::isNew(const std::string& updateUrl, const std::string& userFolder, MessageBoxes& boxes,
                   UrlOpener& urls, const LangOp& texts) const {
    using platform::ReasonTopic;
    if (!platform::makePrivateFolder(userFolder)) {
        platform::logReason(ReasonTopic::Update, "no update check: the folder " + userFolder +
                                                     " for the version file could not be made");
        return;
    }
    const std::string copy = platform::joinPath(userFolder, "version.dat");
    // A failed download leaves the copy of an earlier start, which is compared instead.
    std::string failure;
    if (!Regedit::DownloadFile(updateUrl, copy, &failure))
        platform::logReason(ReasonTopic::Update, "the version file " + updateUrl +
                                                     " could not be fetched: " + failure +
                                                     "; an earlier copy, if any, is compared");
    constexpr platform::ProfileKey kKeys[] = {{"Tarnwick", "Version"}, {"Tarnwick", "URL"}};
    const std::vector<std::string> values =
        Regedit::ReadIniStrings(kKeys, copy, Regedit::kIniFileLimit);
    const std::string& version = values[0];
    const std::string& url = values[1];
    // With no version text at all there is nothing to announce.
    if (version.empty() || version == kProgramVersion) return;
    const std::string question = FillIn(texts.lfm_newversion, {{"1", version}});
    if (boxes.show(question, texts.lfm_newversion_title, MsgIcon::Question, MsgButtons::OkCancel) !=
        MsgAnswer::Ok)
        return;
    if (isWebAddress(url)) urls.openUrl(url);
}

}  // namespace twk
