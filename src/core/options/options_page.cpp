#include "core/options/options_page.h"

#include "core/app/app_context.h"
#include "core/i18n/lang_op.h"
#include "core/options/options_store.h"

namespace twk::options {

void OptionsPage::Form_Load() {
    state_ = OptionsState();
    showState();
    ShowGeneralTab();
    ApplyCaptions();
    LoadOptions();
}

void OptionsPage::LoadOptions() {
    state_ = options::LoadOptions(app_.mainOp, app_.langOp.lfo_weekname,
                                  languageNames(app_.programFolder));
    showTexts();
    showState();
}

void OptionsPage::SaveOptions() {
    WaitedHelperLibrary helper(app_.services.helper, run_);
    const SaveResult result =
        options::SaveOptions(state_, app_.mainOp, helper, app_.services.messages, app_.langOp);
    // Nothing was stored (a refused authentication among other causes): the page shows the
    // stored state again.
    if (result == SaveResult::NotWritten) LoadOptions();
    if (result != SaveResult::Saved) return;
    app_.mainOp.Init();
    // The confirmation comes in the captions just chosen, not in those the page was shown in.
    app_.langOp.Init(app_.mainOp);
    showInformation(app_.services.messages, app_.langOp.lfo_saved);
    if (app_.langOp.showsFallback)
        showInformation(app_.services.messages,
                        FillIn(app_.langOp.lfo_lang_unshown, {{"1", app_.mainOp.lang}}));
    closeSaved();
}

}  // namespace twk::options
