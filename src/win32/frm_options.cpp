#include "win32/frm_options.h"

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/app/waiting.h"
#include "core/design/options_design.h"
#include "core/mail/feedback.h"
#include "core/options/option_controls.h"
#include "core/options/options_store.h"
#include "core/options/time_box.h"
#include "win32/combo_box.h"
#include "win32/frm_main.h"
#include "win32/navigator.h"
#include "win32/time_box.h"
#include "win32/waiting.h"

namespace twk::win32 {
namespace {

namespace options_page = design::options_page;
using options::OptionsState;
using options::Schedule;

constexpr const char* kRadios[] = {"ch_sh0", "ch_sh1", "ch_sh2"};

void enable(const Window& control, bool enabled) {
    ::EnableWindow(control.hwnd(), enabled ? TRUE : FALSE);
}

}  // namespace

frmOptions::frmOptions(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, options_page::kPage),
      OptionsPage(context, runWhileWaiting),
      navigator_(navigator),
      tabs_(*this, control<Picture>("cmd_line")) {
    makeEntries();
    for (std::string_view tab : {options_page::kGeneral, options_page::kMail}) {
        PictureButton& button = this->button(tab);
        tabs_.add(button);
        button.onClick = [this, tab] { selectTab(tab); };
        // A tab has no leave of its own: the window surface puts it back.
        button.onEnter = [this, &button] { tabs_.hover(button, true); };
    }
    wireCheckBox("rep_ch", &OptionsState::saveReports, options::clickSaveReports);
    wireCheckBox("ch_autorun", &OptionsState::startWithWindows, options::clickStartWithWindows);
    wireCheckBox("rep_send", &OptionsState::sendReports, options::clickSendReports);
    for (Schedule kind : {Schedule::EveryDay, Schedule::EveryWeek, Schedule::EveryMonth})
        wireRadio(kind);
    wireFolderButton("RepDirCh", "txtRepDir", &LangOp::lfo_dir_rep_title);
    wireFolderButton("QrntDirCh", "txtQrntDir", &LangOp::lfo_dir_quar_title);
    button("img_save").onClick = [this] { SaveOptions(); };
    onClose = [this] { closePage(); };
    Form_Load();
}

void frmOptions::makeEntries() {
    auto makeList = [this](std::string_view name) {
        return &static_cast<ComboBox&>(adopt(std::make_unique<ComboBox>(
            *this, *design::find(design(), name), ComboBox::Entry::Editable)));
    };
    lng_cmb_ = makeList("lng_cmb");
    cmbDayW_ = makeList("cmbDayW");
    cmbDayM_ = makeList("cmbDayM");
    txtTime_ = &static_cast<TimeBox&>(adopt(
        std::make_unique<TimeBox>(*this, *design::find(design(), "txtTime"), options::clampTime)));

    lng_cmb_->onChange = [this] { state_.language = lng_cmb_->text(); };
    cmbDayW_->onChange = [this] { state_.weekday = cmbDayW_->selectedIndex(); };
    cmbDayM_->onChange = [this] { state_.monthDay = cmbDayM_->selectedIndex(); };
    txtTime_->onChange = [this] { state_.time = txtTime_->timeValue(); };
    EntryBox& reports = box("txtRepDir");
    reports.onChange = [this, &reports] { state_.reportFolder = reports.value(); };
    EntryBox& quarantine = box("txtQrntDir");
    quarantine.onChange = [this, &quarantine] { state_.quarantineFolder = quarantine.value(); };
    EntryBox& recipient = box("txtrec");
    recipient.onChange = [this, &recipient] { state_.recipient = recipient.value(); };
    // Focusing the box while it shows the example address empties it.
    recipient.onFocus = [&recipient] {
        const std::string text = recipient.value();
        const std::string focused = textAfterClick(text, maker::kPlaceholderRecipient);
        if (focused != text) recipient.setValue(focused);
    };
}

void frmOptions::wireCheckBox(std::string_view name, options::PictureToggle OptionsState::*toggle,
                              void (*click)(OptionsState&)) {
    PictureButton& view = button(name);
    view.onClick = [this, click] {
        click(state_);
        showState();
    };
    // Check boxes have no leave of their own: the surface's ResetHover puts them back.
    view.onEnter = [this, name, toggle] {
        showHoverResult(name, options::hoverCheckBox(state_.*toggle, true), true);
    };
}

void frmOptions::wireRadio(Schedule kind) {
    const std::string_view name = kRadios[static_cast<std::size_t>(kind)];
    PictureButton& view = button(name);
    view.onClick = [this, kind] {
        options::SelectSchedule(state_, kind);
        showState();
    };
    view.onEnter = [this, name, kind] {
        showHoverResult(name, options::hoverRadio(state_, kind, true), true);
    };
    view.onLeave = [this, name, kind] {
        showHoverResult(name, options::hoverRadio(state_, kind, false), false);
    };
}

void frmOptions::wireFolderButton(std::string_view name, std::string_view boxName,
                                  std::string LangOp::*title) {
    PictureButton& folder = button(name);
    folder.onEnter = [this, &folder] {
        if (options::folderButtonsActive(state_)) folder.showPicture(design::hoverPicture(true));
    };
    folder.onLeave = [&folder] { folder.showPicture(design::hoverPicture(false)); };
    EntryBox& target = box(boxName);
    folder.onClick = [this, &target, title] {
        if (!options::folderButtonsActive(state_)) return;
        const std::string chosen = context().services.folders.browseFolder(context().langOp.*title);
        if (!chosen.empty()) target.setValue(chosen);
    };
}

// The save caption ends at the save picture whatever its length, and only its text reacts.
void frmOptions::fitSaveCaption() {
    Label& caption = label("txtSave");
    design::Rect place = caption.design().rect;
    place.width = caption.textWidth() + 60;  // a little room, 4 pixels at 96 dpi
    place.left = options_page::kSaveRight - place.width;
    caption.moveTo(place);
}

void frmOptions::showTexts() {
    // The controls report every change back into state_: each is filled from a copy.
    const OptionsState loaded = state_;
    cmbDayM_->setItems(loaded.monthDays);
    cmbDayM_->select(loaded.monthDay);
    cmbDayW_->setItems(loaded.weekdays);
    cmbDayW_->select(loaded.weekday);
    lng_cmb_->setItems(loaded.languages);
    lng_cmb_->setValue(loaded.language);
    box("txtRepDir").setValue(loaded.reportFolder);
    box("txtQrntDir").setValue(loaded.quarantineFolder);
    box("txtrec").setValue(loaded.recipient);
    txtTime_->setTimeValue(loaded.time);
    state_ = loaded;
}

void frmOptions::showState() {
    showToggle("rep_ch", state_.saveReports);
    showToggle("ch_autorun", state_.startWithWindows);
    showToggle("rep_send", state_.sendReports);
    for (std::size_t i = 0; i < std::size(kRadios); ++i) showToggle(kRadios[i], state_.schedule[i]);
    enable(box("txtRepDir"), state_.folderBoxesEnabled);
    enable(box("txtQrntDir"), state_.folderBoxesEnabled);
    enable(box("txtrec"), state_.recipientEnabled);
    enable(*txtTime_, state_.timeEnabled);
    enable(*cmbDayW_, state_.weekdayEnabled);
    enable(*cmbDayM_, state_.monthDayEnabled);
}

void frmOptions::showToggle(std::string_view name, const options::PictureToggle& toggle) {
    button(name).showPicture(static_cast<int>(toggle.picture));
}

void frmOptions::showHoverResult(std::string_view name, bool reacted, bool entering) {
    if (!reacted) return;
    if (Label* caption = button(name).caption())
        caption->setTextColor(entering ? context().HighlightColor : context().NormalColor);
    showState();
}

void frmOptions::ResetHover() {
    showHoverResult("rep_ch", options::hoverCheckBox(state_.saveReports, false), false);
    showHoverResult("ch_autorun", options::hoverCheckBox(state_.startWithWindows, false), false);
    tabs_.leaveAll();
    showHoverResult("rep_send", options::hoverCheckBox(state_.sendReports, false), false);
    PictureButton& save = button("img_save");
    save.showPicture(design::hoverPicture(false));
    save.caption()->setTextColor(context().NormalColor);
    for (std::size_t i = 0; i < std::size(kRadios); ++i)
        showHoverResult(kRadios[i], options::hoverRadio(state_, static_cast<Schedule>(i), false),
                        false);
    for (const char* folder : {"RepDirCh", "QrntDirCh"})
        button(folder).showPicture(design::hoverPicture(false));
}

void frmOptions::ShowGeneralTab() { selectTab(options_page::kGeneral); }

void frmOptions::ShowMailTab() { selectTab(options_page::kMail); }

// Exactly one panel shows: the controls of the other tab hide, and the focus leaves them.
void frmOptions::selectTab(std::string_view tab) {
    ResetHover();
    HWND focused = ::GetFocus();
    for (const design::Control& each : design().controls) {
        if (each.panel.empty()) continue;
        HWND window = control<Control>(each.name).hwnd();
        const bool shown = each.panel == tab;
        if (!shown && focused && (focused == window || ::IsChild(window, focused)))
            ::SetFocus(hwnd());
        ::ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
    }
    tabs_.select(button(tab));
}

void frmOptions::closeSaved() {
    navigator_.unload(design::PageId::Options);
    navigator_.main().Form_Load();
    navigator_.showMain();
}

void frmOptions::closePage() {
    navigator_.showMain();
    navigator_.unload(design::PageId::Options);
}

}  // namespace twk::win32
