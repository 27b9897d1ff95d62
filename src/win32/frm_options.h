#pragma once

#include <string>
#include <string_view>

#include "core/options/options_page.h"
#include "win32/page.h"
#include "win32/tab_strip.h"

namespace twk::win32 {

class ComboBox;
class Navigator;
class TimeBox;

// The options page: a General and a Mail tab over the settings, checked and stored by
// "Save changes". The rules live in core/options; this page maps them onto its controls.
class frmOptions : public SkinnedPage, public options::OptionsPage {
public:
    frmOptions(AppContext& context, Navigator& navigator);

    void ApplyCaptions() override {
        applyCaptions();
        fitSaveCaption();
    }
    void ShowGeneralTab() override;
    void ShowMailTab();
    // Puts every hover-sensitive control back into its not-hovered look.
    void ResetHover();

protected:
    void onSurfaceMouseMove() override { ResetHover(); }

private:
    void makeEntries();
    void wireCheckBox(std::string_view name, options::PictureToggle options::OptionsState::*toggle,
                      void (*click)(options::OptionsState&));
    void wireRadio(options::Schedule kind);
    void wireFolderButton(std::string_view name, std::string_view box, std::string LangOp::*title);
    void selectTab(std::string_view tab);
    void showTexts() override;
    void showState() override;
    void showToggle(std::string_view name, const options::PictureToggle& toggle);
    void showHoverResult(std::string_view name, bool reacted, bool entering);
    void closePage();
    void closeSaved() override;
    void fitSaveCaption();

    Navigator& navigator_;
    TabStrip tabs_;
    ComboBox* lng_cmb_ = nullptr;
    ComboBox* cmbDayW_ = nullptr;
    ComboBox* cmbDayM_ = nullptr;
    TimeBox* txtTime_ = nullptr;
};

}  // namespace twk::win32
