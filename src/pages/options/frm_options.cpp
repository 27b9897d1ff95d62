#include "pages/options/frm_options.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/app/twips.h"
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

// Layout in twips: the tabs top left, the panel below them, "Save changes" bottom right.
constexpr int kTabTop = 360;
constexpr int kTabSize = 480;
constexpr int kCheckSize = 360;
constexpr int kRadioSize = 300;
constexpr int kEntryHeight = 375;
constexpr int kCaptionHeight = 270;
constexpr double kLabelPointSize = 9.75;
constexpr int kCheckCaptionGap = 120;
constexpr int kCheckCaptionRight = 8400;
constexpr int kSaveRight = 8640;  // right edge of the save caption, left of its picture

constexpr const char* kReportsFolderTitle = "Choose a directory for reports";
constexpr const char* kQuarantineFolderTitle = "Choose a directory for quarantines files";
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
    : SkinnedPage(context, QStringLiteral("frmOptions"), QStringLiteral("options_background"),
                  QSize(9600, 7200)),
      navigator_(navigator) {
    buildGeneralPanel();
    buildMailPanel();
    // Made after the panels, so the tabs, the save button and the close button lie above them.
    buildFrame();
    connectEntries();
    orderFocus();
    connect(this, &SkinnedPage::backgroundMouseMoved, this, &frmOptions::ResetHover);
    Form_Load();
    centerOnScreen();
}

void frmOptions::buildFrame() {
    tabs_ = new TabStrip(*this, QStringLiteral("cmd_line"), twipsRect(240, 1320, 1500, 150));
    auto* lblGeneral =
        new Caption(this, "lblGeneral", twipsRect(360, 960, 1200, 300), "General", 12);
    auto* lblMail = new Caption(this, "lblMail", twipsRect(1920, 960, 1200, 300), "Mail", 12);
    for (Caption* caption : {lblGeneral, lblMail})
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    cmd_general_ = tabs_->addTab(
        QStringLiteral("cmd_general"), QStringLiteral("cmd_general_"), QStringLiteral("general"),
        twipsRect(720, kTabTop, kTabSize, kTabSize), lblGeneral, [this] { ShowGeneralTab(); });
    cmd_mail_ = tabs_->addTab(QStringLiteral("cmd_mail"), QStringLiteral("cmd_mail_"),
                              QStringLiteral("mail"), twipsRect(2280, kTabTop, kTabSize, kTabSize),
                              lblMail, [this] { ShowMailTab(); });

    txtSave_ =
        new Caption(this, "txtSave", twipsRect(4800, 6570, 3720, 300), "Save changes", 11.25);
    txtSave_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    img_save_ = addHoverButton("img_save", "img_save_", "save_changes",
                               twipsRect(8760, 6480, kTabSize, kTabSize), txtSave_);
    connect(txtSave_, &Caption::hovered, img_save_, &PictureButton::entered);
    connect(img_save_, &PictureButton::clicked, this, &frmOptions::SaveOptions);
    connect(txtSave_, &Caption::clicked, this, &frmOptions::SaveOptions);

    cmd_close_ = addCloseButton(twipsRect(9000, 120, 435, 435));
    connect(cmd_close_, &PictureButton::clicked, this, &frmOptions::closePage);
}

// Tab follows the page from the tabs down through the shown panel to "Save changes".
void frmOptions::orderFocus() {
    setFocusOrder({cmd_general_, cmd_mail_, lng_cmb_, saveReports_, txtRepDir_, RepDirCh_,
                   txtQrntDir_, QrntDirCh_, startWithWindows_, sendReports_, txtrec_, radios_[0],
                   txtTime_, radios_[1], cmbDayW_, radios_[2], cmbDayM_, img_save_, cmd_close_});
}

void frmOptions::buildGeneralPanel() {
    QWidget* panel = generalPanel_ = makePanel();
    Caption* lng_txt =
        addLabel(panel, "lng_txt", twipsRect(720, 1860, 3000, kCaptionHeight), "Language");
    lng_cmb_ = addList(panel, "lng_cmb", twipsRect(720, 2160, 3000, 345));
    lng_txt->labelFor(lng_cmb_);

    saveReports_ = addCheckBox(panel, "rep_ch", "rep_txt", QPoint(720, 2820), "Save reports");
    connectCheckBox(saveReports_, &OptionsState::saveReports, options::clickSaveReports);

    Caption* lblRepDir = addLabel(panel, "lblRepDir", twipsRect(1200, 3360, 6600, kCaptionHeight),
                                  "Directory for reports:");
    txtRepDir_ =
        makeOneLineBox(panel, QStringLiteral("txtRepDir"),
                       twipsRect(1200, 3660, 6600, kEntryHeight), QStringLiteral("b_frame0"));
    lblRepDir->labelFor(txtRepDir_);
    RepDirCh_ = addFolderButton("RepDirCh", twipsRect(7920, 3668, 360, 360), txtRepDir_,
                                kReportsFolderTitle);

    Caption* lblQrntDir = addLabel(panel, "lblQrntDir", twipsRect(1200, 4200, 6600, kCaptionHeight),
                                   "Directory for quarantine:");
    txtQrntDir_ =
        makeOneLineBox(panel, QStringLiteral("txtQrntDir"),
                       twipsRect(1200, 4500, 6600, kEntryHeight), QStringLiteral("b_frame1"));
    lblQrntDir->labelFor(txtQrntDir_);
    QrntDirCh_ = addFolderButton("QrntDirCh", twipsRect(7920, 4508, 360, 360), txtQrntDir_,
                                 kQuarantineFolderTitle);

    startWithWindows_ =
        addCheckBox(panel, "ch_autorun", "lbl_autorun", QPoint(720, 5220), "Start with Windows");
    connectCheckBox(startWithWindows_, &OptionsState::startWithWindows,
                    options::clickStartWithWindows);
}

void frmOptions::buildMailPanel() {
    QWidget* panel = mailPanel_ = makePanel();
    sendReports_ = addCheckBox(panel, "rep_send", "lblSend_rep", QPoint(720, 1860), "Send reports");
    connectCheckBox(sendReports_, &OptionsState::sendReports, options::clickSendReports);

    Caption* lblrec =
        addLabel(panel, "lblrec", twipsRect(1200, 2400, 4200, kCaptionHeight), "Recipient");
    txtrec_ = makeOneLineBox(panel, QStringLiteral("txtrec"),
                             twipsRect(1200, 2700, 4200, kEntryHeight), QStringLiteral("b_frame3"));
    lblrec->labelFor(txtrec_);
    txtrec_->installEventFilter(this);

    addLabel(panel, "lblshed", twipsRect(1200, 3360, 4200, kCaptionHeight), "Schedule:");
    struct RadioDesign {
        const char* name;
        const char* caption;
        const char* designText;
        int top;
    };
    const RadioDesign radios[] = {{"ch_sh0", "lblED", "Every day", 3780},
                                  {"ch_sh1", "lblEW", "Every week", 4320},
                                  {"ch_sh2", "lblEM", "Every month", 4860}};
    for (size_t i = 0; i < std::size(radios); ++i) {
        const RadioDesign& design = radios[i];
        auto* caption = new Caption(panel, design.caption,
                                    twipsRect(1620, design.top + 15, 1920, kCaptionHeight),
                                    design.designText, kLabelPointSize);
        auto* picture = new PictureButton(
            panel, design.name, twipsRect(1200, design.top, kRadioSize, kRadioSize),
            numberedPictures(QStringLiteral("ch_s"), QStringLiteral("radio"), 4), caption,
            ButtonRole::RadioButton);
        radios_[i] = picture;
        connectRadio(static_cast<Schedule>(i));
    }

    Caption* lblTime =
        addLabel(panel, "lblTime", twipsRect(3720, 3795, 1560, kCaptionHeight), "Time");
    txtTime_ = makeOneLineBox(panel, QStringLiteral("txtTime"),
                              twipsRect(5400, 3743, 1200, kEntryHeight), QStringLiteral("frame5"));
    txtTime_->setInputMask(QString::fromLatin1(kTimeMask));
    lblTime->labelFor(txtTime_);
    Caption* lblDayW =
        addLabel(panel, "lblDayW", twipsRect(3720, 4335, 1560, kCaptionHeight), "Day of week");
    cmbDayW_ = addList(panel, "cmbDayW", twipsRect(5400, 4283, 2400, 360));
    lblDayW->labelFor(cmbDayW_);
    Caption* llbDayM =
        addLabel(panel, "llbDayM", twipsRect(3720, 4875, 1560, kCaptionHeight), "Day of month");
    cmbDayM_ = addList(panel, "cmbDayM", twipsRect(5400, 4823, 1200, 360));
    llbDayM->labelFor(cmbDayM_);
    panel->hide();
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

// A plain label is part of the window surface: the drag and the hover reset work over it.
Caption* frmOptions::addLabel(QWidget* panel, const char* name, QRect geometry,
                              const char* designText) {
    auto* label = new Caption(panel, name, geometry, designText, kLabelPointSize);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QComboBox* frmOptions::addList(QWidget* panel, const char* name, QRect geometry) {
    auto* list = new QComboBox(panel);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    styleEntryBox(list);
    return list;
}

PictureButton* frmOptions::addFolderButton(const char* name, QRect geometry, QLineEdit* box,
                                           const char* title) {
    auto* button =
        new PictureButton(generalPanel_, name, geometry,
                          numberedPictures(QStringLiteral("chDir_"), QStringLiteral("folder"), 2));
    button->setAccessibleName(QString::fromLatin1(title));
    connect(button, &PictureButton::entered, this, [this, button] {
        if (options::folderButtonsActive(state_)) showHover(button, true);
    });
    connect(button, &PictureButton::left, this, [this, button] { showHover(button, false); });
    connect(button, &PictureButton::clicked, this, [this, box, title] {
        if (!options::folderButtonsActive(state_)) return;
        const std::string folder = context().services.folders.browseFolder(title);
        if (!folder.empty()) box->setText(qs(folder));
    });
    return button;
}

PictureButton* frmOptions::addCheckBox(QWidget* panel, const char* name, const char* captionName,
                                       QPoint at, const char* designText) {
    const int captionLeft = at.x() + kCheckSize + kCheckCaptionGap;
    auto* caption = new Caption(panel, captionName,
                                twipsRect(captionLeft, at.y() + (kCheckSize - kCaptionHeight) / 2,
                                          kCheckCaptionRight - captionLeft, kCaptionHeight),
                                designText, kLabelPointSize);
    auto* picture =
        new PictureButton(panel, name, twipsRect(at.x(), at.y(), kCheckSize, kCheckSize),
                          numberedPictures(QStringLiteral("ch_"), QStringLiteral("check"), 4),
                          caption, ButtonRole::CheckBox);
    return picture;
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

void frmOptions::Form_Load() {
    state_ = OptionsState();
    showState();
    ShowGeneralTab();
    ApplyCaptions();
    LoadOptions();
}

void frmOptions::ApplyCaptions() {
    struct CaptionKey {
        const char* control;
        std::string LangOp::*key;
    };
    static const CaptionKey keys[] = {
        {"lblGeneral", &LangOp::lfo_menu1},
        {"lblMail", &LangOp::lfo_menu2},
        {"lng_txt", &LangOp::lfo_lang},
        {"rep_txt", &LangOp::lfo_save_rep},
        {"lblRepDir", &LangOp::lfo_dir_rep},
        {"lblQrntDir", &LangOp::lfo_dir_quar},
        {"lbl_autorun", &LangOp::lfo_strt_win},
        {"txtSave", &LangOp::lfo_save_changes},
        {"lblSend_rep", &LangOp::lfo_send_rep},
        {"lblrec", &LangOp::lfo_recip},
        {"lblshed", &LangOp::lfo_shed},
        {"lblED", &LangOp::lfo_ED},
        {"lblEW", &LangOp::lfo_EW},
        {"lblEM", &LangOp::lfo_EM},
        {"lblTime", &LangOp::lfo_time},
        {"lblDayW", &LangOp::lfo_week},
        {"llbDayM", &LangOp::lfo_month},
    };
    const LangOp& captions = context().langOp;
    for (const CaptionKey& entry : keys)
        findChild<Caption*>(entry.control)->setCaption(captions.*entry.key);
    fitSaveCaption();
}

// The save caption ends at the save picture whatever its length, and only its text reacts.
void frmOptions::fitSaveCaption() {
    const int width = txtSave_->fontMetrics().horizontalAdvance(txtSave_->text()) + 4;
    const int right = twipsToPixels(kSaveRight);
    txtSave_->setGeometry(right - width, txtSave_->y(), width, txtSave_->height());
}

void frmOptions::LoadOptions() {
    const AppContext& app = context();
    state_ = options::LoadOptions(app.mainOp, app.langOp.lfo_weekname,
                                  options::languageNames(app.programFolder));
    showTexts();
    showState();
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

void frmOptions::SaveOptions() {
    AppContext& app = context();
    WaitingHelperLibrary helper(app.services.helper);
    const options::SaveResult result =
        options::SaveOptions(state_, app.mainOp, helper, app.services.messages);
    // Nothing was stored (a refused authentication among other causes): the page shows the
    // stored state again.
    if (result == options::SaveResult::NotWritten) LoadOptions();
    if (result != options::SaveResult::Saved) return;
    app.mainOp.Init();
    app.langOp.Init(app.mainOp);
    navigator_.unload(PageId::Options);
    navigator_.main().Form_Load();
    navigator_.showMain();
}

void frmOptions::closePage() {
    navigator_.showMain();
    navigator_.unload(PageId::Options);
}

}  // namespace twk
