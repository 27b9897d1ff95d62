#pragma once

#include <array>

#include "core/options/options_page.h"
#include "pages/app/skinned_page.h"
#include "pages/app/tab_strip.h"

class QComboBox;
class QLineEdit;

namespace twk {

class Navigator;

// The options page: a General and a Mail tab over the settings, checked and stored by
// "Save changes". The rules live in core/options; this page maps them onto its controls.
class frmOptions : public SkinnedPage, public options::OptionsPage {
    Q_OBJECT
public:
    frmOptions(AppContext& context, Navigator& navigator);

    void ApplyCaptions() override;
    void ShowGeneralTab() override;
    void ShowMailTab();
    // Puts every hover-sensitive control back into its not-hovered look.
    void ResetHover();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* parentFor(const design::Control& control) override;
    QWidget* makeOwnControl(const design::Control& control) override;
    void findControls();
    void wireFrame();
    void wireGeneralPanel();
    void wireMailPanel();
    QWidget* makePanel();
    void wireFolderButton(PictureButton* button, QLineEdit* box, std::string LangOp::*title);
    void connectCheckBox(PictureButton* view, options::PictureToggle options::OptionsState::*toggle,
                         void (*click)(options::OptionsState&));
    void connectRadio(options::Schedule kind);
    void connectEntries();

    void showState() override;
    void showToggle(PictureButton* view, const options::PictureToggle& toggle);
    void showHoverResult(PictureButton* view, bool reacted, bool entering);
    void showTexts() override;
    void closeSaved() override;
    void selectTab(PictureButton* tab, QWidget* panel);
    void fitSaveCaption();
    void onTimeEdited();

    Navigator& navigator_;
    options::OptionsState shown_;  // what the boxes were filled with, bytes as stored

    TabStrip* tabs_ = nullptr;
    PictureButton* cmd_general_ = nullptr;
    PictureButton* cmd_mail_ = nullptr;
    PictureButton* img_save_ = nullptr;
    PictureButton* cmd_close_ = nullptr;
    Caption* txtSave_ = nullptr;

    // The two panels share the area below the tabs; exactly one of them shows.
    QWidget* generalPanel_ = nullptr;
    QWidget* mailPanel_ = nullptr;

    QComboBox* lng_cmb_ = nullptr;
    PictureButton* saveReports_ = nullptr;
    PictureButton* startWithWindows_ = nullptr;
    QLineEdit* txtRepDir_ = nullptr;
    QLineEdit* txtQrntDir_ = nullptr;
    PictureButton* RepDirCh_ = nullptr;
    PictureButton* QrntDirCh_ = nullptr;

    PictureButton* sendReports_ = nullptr;
    QLineEdit* txtrec_ = nullptr;
    std::array<PictureButton*, 3> radios_{};
    QLineEdit* txtTime_ = nullptr;
    QComboBox* cmbDayW_ = nullptr;
    QComboBox* cmbDayM_ = nullptr;
};

}  // namespace twk
