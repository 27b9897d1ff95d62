#pragma once

#include <array>

#include "core/options/options_state.h"
#include "pages/app/skinned_page.h"

class QComboBox;
class QLineEdit;

namespace twk {

class Navigator;

// The options page: a General and a Mail tab over the settings, checked and stored by
// "Save changes". The rules live in core/options; this page maps them onto its controls.
class frmOptions : public SkinnedPage {
    Q_OBJECT
public:
    frmOptions(AppContext& context, Navigator& navigator);

    void Form_Load();
    void ApplyCaptions();
    void LoadOptions();
    void SaveOptions();
    void ShowGeneralTab();
    void ShowMailTab();
    // Puts every hover-sensitive control back into its not-hovered look.
    void ResetHover();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using PictureSet = std::array<QLabel*, 4>;
    // A picture check box or radio button with its caption and the four pictures it shows.
    struct ToggleView {
        PictureButton* picture;
        Caption* caption;
        const PictureSet* pictures;
    };
    struct TabView {
        PictureButton* button;
        Caption* caption;
        QLabel* normal;
        QLabel* highlighted;
    };

    void buildPictureHolders();
    void buildFrame();
    void buildGeneralPanel();
    void buildMailPanel();
    QWidget* makePanel();
    Caption* addLabel(QWidget* panel, const char* name, QRect geometry, const char* designText);
    QComboBox* addList(QWidget* panel, const char* name, QRect geometry);
    PictureButton* addFolderButton(const char* name, QRect geometry, QLineEdit* box,
                                   const char* title);
    ToggleView addCheckBox(QWidget* panel, const char* name, const char* captionName, QPoint at,
                           const char* designText);
    void connectCheckBox(const ToggleView& view,
                         options::PictureToggle options::OptionsState::*toggle,
                         void (*click)(options::OptionsState&));
    void connectRadio(options::Schedule kind);
    void connectTab(const TabView& tab, void (frmOptions::*show)());
    void connectEntries();

    void showState();
    void showToggle(const ToggleView& view, const options::PictureToggle& toggle);
    void showHoverResult(const ToggleView& view, bool reacted, bool entering);
    void showTexts();
    void highlightTab(const TabView& tab);
    void leaveTab(const TabView& tab);
    void selectTab(const TabView& selected, const TabView& other, QWidget* panel);
    void fitSaveCaption();
    void onTimeEdited();
    void closePage();

    Navigator& navigator_;
    options::OptionsState state_;

    PictureSet checkPictures_{};
    PictureSet radioPictures_{};
    QLabel* chDir_0_ = nullptr;
    QLabel* chDir_1_ = nullptr;

    TabView general_{};
    TabView mail_{};
    QLabel* cmd_line_ = nullptr;
    PictureButton* img_save_ = nullptr;
    Caption* txtSave_ = nullptr;

    // The two panels share the area below the tabs; exactly one of them shows.
    QWidget* generalPanel_ = nullptr;
    QWidget* mailPanel_ = nullptr;

    QComboBox* lng_cmb_ = nullptr;
    ToggleView saveReports_{};
    ToggleView startWithWindows_{};
    QLineEdit* txtRepDir_ = nullptr;
    QLineEdit* txtQrntDir_ = nullptr;
    PictureButton* RepDirCh_ = nullptr;
    PictureButton* QrntDirCh_ = nullptr;

    ToggleView sendReports_{};
    QLineEdit* txtrec_ = nullptr;
    std::array<ToggleView, 3> radios_{};
    QLineEdit* txtTime_ = nullptr;
    QComboBox* cmbDayW_ = nullptr;
    QComboBox* cmbDayM_ = nullptr;
};

}  // namespace twk
