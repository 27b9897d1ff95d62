#include "pages/options/frm_options.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/app/twips.h"
#include "core/design/options_design.h"
#include "core/mail/feedback.h"
#include "core/options/option_controls.h"
#include "core/options/options_store.h"
#include "core/options/time_box.h"
#include "pages/app/entry_box.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/waiting.h"

namespace twk {
namespace {

using options::OptionsState;
using options::PictureToggle;
using options::Schedule;

namespace options_page = design::options_page;

// hh:mm, a blank shown as "_".
constexpr const char* kTimeMask = "99:99;_";

// The index of the list item the combo box's text names, or -1 for typed text that names none.
int selectedIndex(const QComboBox* list) {
    const int current = list->currentIndex();
    if (current >= 0 && list->itemText(current) == list->currentText()) return current;
    return list->findText(list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void fillList(QComboBox* list, const std::vector<std::string>& items) {
    list->clear();
    for (const std::string& item : items) list->addItem(qs(item));
}

// The time box value: its digits alone, without the colon and the blanks.
std::string timeValueOf(const QLineEdit* box) {
    return local8(box->text().remove(QLatin1Char(':')));
}

}  // namespace

frmOptions::frmOptions(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, options_page::kPage),
      OptionsPage(context, runWhileWaiting),
      navigator_(navigator) {
    // Made before the rest, so the tabs, the save button and the close button lie above them.
    generalPanel_ = makePanel();
    mailPanel_ = makePanel();
    buildDesign();
    mailPanel_->hide();
    findControls();
    wireFrame();
    wireGeneralPanel();
    wireMailPanel();
    connectEntries();
    connect(this, &SkinnedPage::backgroundMouseMoved, this, &frmOptions::ResetHover);
    Form_Load();
    centerOnScreen();
}

QWidget* frmOptions::parentFor(const design::Control& control) {
    if (control.panel == options_page::kGeneral) return generalPanel_;
    if (control.panel == options_page::kMail) return mailPanel_;
    return this;
}

QWidget* frmOptions::makeOwnControl(const design::Control& control) {
    const QRect place = placeOf(control);
    const QString name = QString::fromLatin1(control.name);
    if (control.kind == design::Kind::ComboBox) {
        auto* list = new QComboBox(parentFor(control));
        list->setObjectName(name);
        list->setGeometry(place);
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        styleEntryBox(list);
        return list;
    }
    if (control.kind == design::Kind::TimeBox) {
        QLineEdit* box =
            makeOneLineBox(parentFor(control), name, place, QString::fromLatin1(control.frame));
        box->setInputMask(QString::fromLatin1(kTimeMask));
        return box;
    }
    return nullptr;
}

void frmOptions::findControls() {
    cmd_general_ = control("cmd_general");
    cmd_mail_ = control("cmd_mail");
    img_save_ = control("img_save");
    cmd_close_ = control("cmd_close");
    txtSave_ = control<Caption>("txtSave");
    lng_cmb_ = control<QComboBox>("lng_cmb");
    saveReports_ = control("rep_ch");
    startWithWindows_ = control("ch_autorun");
    txtRepDir_ = control<QLineEdit>("txtRepDir");
    txtQrntDir_ = control<QLineEdit>("txtQrntDir");
    RepDirCh_ = control("RepDirCh");
    QrntDirCh_ = control("QrntDirCh");
    sendReports_ = control("rep_send");
    txtrec_ = control<QLineEdit>("txtrec");
    radios_ = {control("ch_sh0"), control("ch_sh1"), control("ch_sh2")};
    txtTime_ = control<QLineEdit>("txtTime");
    cmbDayW_ = control<QComboBox>("cmbDayW");
    cmbDayM_ = control<QComboBox>("cmbDayM");
}

void frmOptions::wireFrame() {
    tabs_ = new TabStrip(*this, control<SkinImage>("cmd_line"));
    tabs_->addTab(cmd_general_, [this] { ShowGeneralTab(); });
    tabs_->addTab(cmd_mail_, [this] { ShowMailTab(); });
    connect(txtSave_, &Caption::hovered, img_save_, &PictureButton::entered);
    onClick("img_save", [this] { SaveOptions(); });
    onClick("txtSave", [this] { SaveOptions(); });
    onClick("cmd_close", [this] { navigator_.take(options_page::kClose, PageId::Options); });
}

void frmOptions::wireGeneralPanel() {
    connectCheckBox(saveReports_, &OptionsState::saveReports, options::clickSaveReports);
    wireFolderButton(RepDirCh_, txtRepDir_, &LangOp::lfo_dir_rep_title);
    wireFolderButton(QrntDirCh_, txtQrntDir_, &LangOp::lfo_dir_quar_title);
    connectCheckBox(startWithWindows_, &OptionsState::startWithWindows,
                    options::clickStartWithWindows);
}

void frmOptions::wireMailPanel() {
    connectCheckBox(sendReports_, &OptionsState::sendReports, options::clickSendReports);
    txtrec_->installEventFilter(this);
    for (size_t i = 0; i < radios_.size(); ++i) connectRadio(static_cast<Schedule>(i));
}

// A panel covers the whole page, so its controls stand at their page positions; where it has no
// control, the pointer is over the window background. Pointer moves that only a tracking widget
// receives must reach the page through it.
QWidget* frmOptions::makePanel() {
    auto* panel = new QWidget(this);
    panel->setGeometry(rect());
    panel->setMouseTracking(true);
    return panel;
}

void frmOptions::wireFolderButton(PictureButton* button, QLineEdit* box,
                                  std::string LangOp::*title) {
    connect(button, &PictureButton::entered, this, [this, button] {
        if (options::folderButtonsActive(state_)) showHover(button, true);
    });
    connect(button, &PictureButton::left, this, [this, button] { showHover(button, false); });
    connect(button, &PictureButton::clicked, this, [this, box, title] {
        if (!options::folderButtonsActive(state_)) return;
        const std::string folder = context().services.folders.browseFolder(context().langOp.*title);
        if (!folder.empty()) box->setText(qs(folder));
    });
}

void frmOptions::connectCheckBox(PictureButton* view, PictureToggle OptionsState::*toggle,
                                 void (*click)(OptionsState&)) {
    auto onClick = [this, click] {
        click(state_);
        showState();
    };
    connect(view, &PictureButton::clicked, this, onClick);
    connect(view->caption(), &Caption::clicked, this, onClick);
    // Check boxes have no leave of their own: the background's ResetHover puts them back.
    auto onHover = [this, view, toggle] {
        showHoverResult(view, options::hoverCheckBox(state_.*toggle, true), true);
    };
    connect(view, &PictureButton::entered, this, onHover);
    connect(view->caption(), &Caption::hovered, this, onHover);
}

void frmOptions::connectRadio(Schedule kind) {
    PictureButton* view = radios_[static_cast<size_t>(kind)];
    auto onClick = [this, kind] {
        options::SelectSchedule(state_, kind);
        showState();
    };
    connect(view, &PictureButton::clicked, this, onClick);
    connect(view->caption(), &Caption::clicked, this, onClick);
    auto hover = [this, view, kind](bool entering) {
        showHoverResult(view, options::hoverRadio(state_, kind, entering), entering);
    };
    connect(view, &PictureButton::entered, this, [hover] { hover(true); });
    connect(view->caption(), &Caption::hovered, this, [hover] { hover(true); });
    connect(view, &PictureButton::left, this, [hover] { hover(false); });
}

void frmOptions::connectEntries() {
    connect(lng_cmb_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { state_.language = local8Kept(text, shown_.language); });
    connect(txtRepDir_, &QLineEdit::textChanged, this, [this](const QString& text) {
        state_.reportFolder = local8Kept(text, shown_.reportFolder);
    });
    connect(txtQrntDir_, &QLineEdit::textChanged, this, [this](const QString& text) {
        state_.quarantineFolder = local8Kept(text, shown_.quarantineFolder);
    });
    connect(txtrec_, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.recipient = local8Kept(text, shown_.recipient); });
    connect(txtTime_, &QLineEdit::textChanged, this, &frmOptions::onTimeEdited);
    connect(cmbDayW_, &QComboBox::currentTextChanged, this,
            [this] { state_.weekday = selectedIndex(cmbDayW_); });
    connect(cmbDayM_, &QComboBox::currentTextChanged, this,
            [this] { state_.monthDay = selectedIndex(cmbDayM_); });
}

void frmOptions::ApplyCaptions() {
    showCaptions(context().langOp);
    fitSaveCaption();
}

// The save caption ends at the save picture whatever its length, and only its text reacts.
void frmOptions::fitSaveCaption() {
    const int width = txtSave_->fontMetrics().horizontalAdvance(txtSave_->text()) + 4;
    const int right = twipsToPixels(options_page::kSaveRight);
    txtSave_->setGeometry(right - width, txtSave_->y(), width, txtSave_->height());
}

void frmOptions::showTexts() {
    shown_ = state_;  // the widgets report every change back into state_
    const OptionsState& loaded = shown_;
    fillList(cmbDayM_, loaded.monthDays);
    cmbDayM_->setCurrentIndex(loaded.monthDay);
    fillList(cmbDayW_, loaded.weekdays);
    cmbDayW_->setCurrentIndex(loaded.weekday);
    fillList(lng_cmb_, loaded.languages);
    lng_cmb_->setEditText(qs(loaded.language));
    txtRepDir_->setText(qs(loaded.reportFolder));
    txtQrntDir_->setText(qs(loaded.quarantineFolder));
    txtrec_->setText(qs(loaded.recipient));
    txtTime_->setText(qs(loaded.time));
}

void frmOptions::showState() {
    showToggle(saveReports_, state_.saveReports);
    showToggle(startWithWindows_, state_.startWithWindows);
    showToggle(sendReports_, state_.sendReports);
    for (size_t i = 0; i < radios_.size(); ++i) showToggle(radios_[i], state_.schedule[i]);
    txtRepDir_->setEnabled(state_.folderBoxesEnabled);
    txtQrntDir_->setEnabled(state_.folderBoxesEnabled);
    txtrec_->setEnabled(state_.recipientEnabled);
    txtTime_->setEnabled(state_.timeEnabled);
    cmbDayW_->setEnabled(state_.weekdayEnabled);
    cmbDayM_->setEnabled(state_.monthDayEnabled);
}

void frmOptions::showToggle(PictureButton* view, const PictureToggle& toggle) {
    view->setTag(qs(toggle.Tag));
    view->showPicture(static_cast<int>(toggle.picture));
}

void frmOptions::showHoverResult(PictureButton* view, bool reacted, bool entering) {
    if (!reacted) return;
    view->caption()->setTextColor(entering ? context().HighlightColor : context().NormalColor);
    showState();
}

void frmOptions::ResetHover() {
    showHoverResult(saveReports_, options::hoverCheckBox(state_.saveReports, false), false);
    showHoverResult(startWithWindows_, options::hoverCheckBox(state_.startWithWindows, false),
                    false);
    tabs_->leaveAll();
    showHoverResult(sendReports_, options::hoverCheckBox(state_.sendReports, false), false);
    showHover(img_save_, false);
    for (size_t i = 0; i < radios_.size(); ++i)
        showHoverResult(radios_[i], options::hoverRadio(state_, static_cast<Schedule>(i), false),
                        false);
    showHover(RepDirCh_, false);
    showHover(QrntDirCh_, false);
}

void frmOptions::ShowGeneralTab() { selectTab(cmd_general_, generalPanel_); }

void frmOptions::ShowMailTab() { selectTab(cmd_mail_, mailPanel_); }

// Exactly one panel shows; the panels never move, so their places cannot drift.
void frmOptions::selectTab(PictureButton* tab, QWidget* panel) {
    ResetHover();
    // Keys must not reach a box of the panel being parked, nor may the focus wander on into a box
    // the user did not click (the recipient box would lose its placeholder): the page takes it.
    QWidget* parked = panel == generalPanel_ ? mailPanel_ : generalPanel_;
    if (parked->isAncestorOf(focusWidget())) setFocus();
    for (QWidget* each : {generalPanel_, mailPanel_}) each->setVisible(each == panel);
    tabs_->select(tab);
}

void frmOptions::onTimeEdited() {
    const std::string value = timeValueOf(txtTime_);
    state_.time = options::clampTime(value);
    if (state_.time == value) return;
    const int cursor = txtTime_->cursorPosition();
    txtTime_->setText(qs(state_.time));
    txtTime_->setCursorPosition(cursor);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtrec_ && event->type() == QEvent::FocusIn) {
        const std::string text = local8(txtrec_->text());
        const std::string focused = textAfterClick(text, maker::kPlaceholderRecipient);
        if (focused != text) txtrec_->setText(qs(focused));
    }
    return SkinnedPage::eventFilter(watched, event);
}

void frmOptions::closeSaved() {
    navigator_.unload(PageId::Options);
    navigator_.main().Form_Load();
    navigator_.showMain();
}

}  // namespace twk
