#include "pages/reports/frm_report.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>

#include "core/app/app_context.h"
#include "core/app/twips.h"
#include "core/i18n/lang_op.h"
#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "core/reports/report_problems.h"
#include "core/reports/save_report_flow.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/waiting.h"
#include "pages/reports/frm_send_report.h"
#include "pages/reports/report_table_model.h"

namespace twk {
namespace {

constexpr int kButtonTwips = 480;
constexpr int kCaptionTop = 960;
constexpr int kMarkerTop = 1320;
// The marker bar starts this far left of the selected view button.
constexpr int kMarkerOffset = 480;
constexpr int kActionTop = 6600;
constexpr int kActionHeight = 255;
constexpr int kSendCaptionLeft = 8160;
// The action pictures lie below the window's bottom edge (7200), out of sight.
constexpr int kActionPictureTop = 7320;
// Wide cells (paths, hardware IDs) are cut rather than pushing every other column away.
constexpr int kMaxColumnWidth = 220;

void autoSizeWidth(QLabel* label) { label->resize(label->sizeHint().width(), label->height()); }

}  // namespace

frmReport::frmReport(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, QStringLiteral("frmReport"), QStringLiteral("report_background"),
                  QSize(9600, 7200)),
      navigator_(navigator) {
    buildClose();
    buildViews();
    buildDateChooser();
    buildTable();
    buildActions();
    connect(this, &SkinnedPage::backgroundMouseMoved, this, [this] {
        HoverDevices(false);
        HoverViruses(false);
        HoverSave(false);
        HoverSend(false);
    });
    applyCaptions(context.langOp);
    centerOnScreen();
    ShowDevices();
    cmd_line_->hide();
}

frmReport::~frmReport() = default;

void frmReport::buildClose() {
    PictureButton* close = addCloseButton(twipsRect(9000, 120, 435, 435));
    connect(close, &PictureButton::clicked, this, &frmReport::closePage);
}

frmReport::View frmReport::makeView(const char* name, const char* captionName,
                                    const QString& designText, const QString& skin, int leftTwips,
                                    int captionLeftTwips, int captionWidthTwips, ReportKind kind,
                                    const char* tableTag) {
    View view;
    view.button =
        new PictureButton(this, name, twipsRect(leftTwips, 360, kButtonTwips, kButtonTwips));
    const QSize size = view.button->size();
    view.normal = makePictureHolder(this, QString(name) + "0", skin + "_0", size);
    view.highlighted = makePictureHolder(this, QString(name) + "1", skin + "_1", size);
    view.caption = new Caption(this, captionName,
                               twipsRect(captionLeftTwips, kCaptionTop, captionWidthTwips, 270),
                               designText, 12);
    view.caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    view.button->showPictureOf(view.normal);
    view.buttonLeftTwips = leftTwips;
    view.kind = kind;
    view.tableTag = tableTag;
    return view;
}

void frmReport::buildViews() {
    devices_ = makeView("cmd_devices", "txtDevices", QStringLiteral("Devices"),
                        QStringLiteral("devices"), 720, 555, 855, ReportKind::Devices, "0");
    viruses_ = makeView("cmd_viruses", "txtViruses", QStringLiteral("Viruses"),
                        QStringLiteral("viruses"), 2280, 2100, 795, ReportKind::Viruses, "1");
    connect(devices_.button, &PictureButton::clicked, this, &frmReport::ShowDevices);
    connect(devices_.caption, &Caption::clicked, this, &frmReport::ShowDevices);
    connect(viruses_.button, &PictureButton::clicked, this, &frmReport::ShowViruses);
    connect(viruses_.caption, &Caption::clicked, this, &frmReport::ShowViruses);
    connect(devices_.button, &PictureButton::entered, this, [this] { HoverDevices(true); });
    connect(devices_.caption, &Caption::hovered, this, [this] { HoverDevices(true); });
    connect(devices_.button, &PictureButton::left, this, [this] { HoverDevices(false); });
    connect(viruses_.button, &PictureButton::entered, this, [this] { HoverViruses(true); });
    connect(viruses_.caption, &Caption::hovered, this, [this] { HoverViruses(true); });
    connect(viruses_.button, &PictureButton::left, this, [this] { HoverViruses(false); });

    const QRect marker = twipsRect(240, kMarkerTop, 1500, 150);
    cmd_line1_ = new QLabel(this);
    cmd_line1_->setObjectName(QStringLiteral("cmd_line1"));
    cmd_line1_->setGeometry(marker);
    cmd_line1_->setPixmap(skinPicture(QStringLiteral("marker_line"), marker.size()));
    cmd_line_ = new QLabel(this);
    cmd_line_->setObjectName(QStringLiteral("cmd_line"));
    cmd_line_->setGeometry(marker.translated(twipsToPixels(2280 - 720), 0));
    cmd_line_->setPixmap(cmd_line1_->pixmap());
}

void frmReport::buildDateChooser() {
    lblSort_ = new Caption(this, QStringLiteral("lblSort"), twipsRect(240, 1920, 1335, 240),
                           QStringLiteral("Sorted by date:"), 9.75);
    lstDates_ = new QComboBox(this);
    lstDates_->setObjectName(QStringLiteral("lstDates"));
    lstDates_->setGeometry(twipsRect(1800, 1850, 1575, 330));
    lstDates_->setPlaceholderText(QStringLiteral("Choose date"));
    lstDates_->setFont(captionFont(9.75));
    QPalette colours = lstDates_->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        colours.setColor(role, toQColor(kDesignLabelColor));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        colours.setColor(role, toQColor(kEntryBackColor));
    lstDates_->setPalette(colours);
    connect(lstDates_, &QComboBox::activated, this, &frmReport::refreshDate);
}

void frmReport::buildTable() {
    lstReport_ = new QTableView(this);
    lstReport_->setObjectName(QStringLiteral("lstReport"));
    lstReport_->setGeometry(twipsRect(240, 2400, 9135, 3975));
    model_ = new ReportTableModel(
        QIcon(skinPicture(QStringLiteral("report_row_icon"), QSize(16, 16))), lstReport_);
    lstReport_->setModel(model_);
    lstReport_->setFont(captionFont(9));
    lstReport_->setIconSize(QSize(16, 16));
    lstReport_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstReport_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstReport_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstReport_->setShowGrid(false);
    lstReport_->setAlternatingRowColors(true);
    lstReport_->setWordWrap(false);
    lstReport_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed row heights keep a million rows as cheap as ten.
    QHeaderView* rows = lstReport_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(lstReport_->fontMetrics().height() + 6);
    QHeaderView* headings = lstReport_->horizontalHeader();
    headings->setSectionsClickable(true);
    headings->setSortIndicatorShown(true);
    headings->setSortIndicator(-1, Qt::AscendingOrder);
    headings->setHighlightSections(false);
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(headings, &QHeaderView::sectionClicked, this, &frmReport::sortByHeading);
}

frmReport::Action frmReport::makeAction(const char* pictureName, const char* holderPrefix,
                                        const QString& skin, int pictureLeftTwips,
                                        const char* captionName, const QString& designText,
                                        QRect captionGeometry) {
    Action action;
    action.picture = new PictureButton(
        this, pictureName,
        twipsRect(pictureLeftTwips, kActionPictureTop, kButtonTwips, kButtonTwips));
    const QSize size = action.picture->size();
    action.normal = makePictureHolder(this, QString(holderPrefix) + "0", skin + "_0", size);
    action.highlighted = makePictureHolder(this, QString(holderPrefix) + "1", skin + "_1", size);
    action.picture->showPictureOf(action.normal);
    action.caption = new Caption(this, captionName, captionGeometry, designText, 11.25);
    return action;
}

void frmReport::buildActions() {
    save_ = makeAction("cmdSave", "cmd_save", QStringLiteral("save"), 6000, "txtSave",
                       QStringLiteral("Save to disk"),
                       twipsRect(6600, kActionTop, 1185, kActionHeight));
    send_ = makeAction("cmdSend", "cmd_send", QStringLiteral("send"), 7560, "txtSend",
                       QStringLiteral("Send report"),
                       twipsRect(kSendCaptionLeft, kActionTop, 1140, kActionHeight));
    // The save picture lies out of sight; should it ever show, it saves like its caption.
    connect(save_.picture, &PictureButton::clicked, this, &frmReport::SaveReportAs);
    connect(save_.caption, &Caption::clicked, this, &frmReport::SaveReportAs);
    connect(send_.picture, &PictureButton::clicked, this, &frmReport::openSendReport);
    connect(send_.caption, &Caption::clicked, this, &frmReport::openSendReport);
    connect(save_.picture, &PictureButton::entered, this, [this] { HoverSave(true); });
    connect(save_.caption, &Caption::hovered, this, [this] { HoverSave(true); });
    connect(save_.picture, &PictureButton::left, this, [this] { HoverSave(false); });
    connect(send_.picture, &PictureButton::entered, this, [this] { HoverSend(true); });
    connect(send_.caption, &Caption::hovered, this, [this] { HoverSend(true); });
}

void frmReport::applyCaptions(const LangOp& captions) {
    devices_.caption->setCaption(captions.lfr_menu1);
    viruses_.caption->setCaption(captions.lfr_menu2);
    lblSort_->setCaption(captions.lfr_sort);
    save_.caption->setCaption(captions.lfr_save);
    send_.caption->setCaption(captions.lfr_send);
    // Both action captions take the width of their text, so no language cuts them off.
    autoSizeWidth(send_.caption);
    autoSizeWidth(save_.caption);
    save_.caption->move(twipsToPixels(saveCaptionLeft(kSendCaptionLeft, captions.lfr_save)),
                        save_.caption->y());
}

void frmReport::disable_all() {
    for (const View* view : {&devices_, &viruses_}) {
        view->button->setTag(QStringLiteral("0"));
        view->button->showPictureOf(view->normal);
        view->caption->setTextColor(context().NormalColor);
    }
    dates_.reset();
    lstDates_->clear();
    mirrorDates();
    lstDates_->setCurrentIndex(0);
}

bool frmReport::save_report(std::string FileName) {
    const ReportTable& table = model_->table();
    const ReportKind view = ExportViewOfDevicesTag(local8(devices_.button->tag()));
    // A large table takes a while to write: the pages keep painting meanwhile.
    return waitFor([&] { return SaveReportCsv(FileName, table, view); });
}

void frmReport::ShowDevices() { showView(devices_); }

void frmReport::ShowViruses() { showView(viruses_); }

void frmReport::showView(const View& view) {
    disable_all();
    view.button->setTag(QStringLiteral("1"));
    view.button->showPictureOf(view.highlighted);
    view.caption->setTextColor(context().HighlightColor);
    cmd_line1_->show();
    cmd_line1_->move(twipsToPixels(view.buttonLeftTwips - kMarkerOffset), cmd_line1_->y());
    loadReports(view.kind, std::string(kAllDates));
    lstReport_->setProperty("Tag", QString::fromLatin1(view.tableTag));
    fitColumns();
}

void frmReport::refreshDate() {
    const ReportKind view = lstReport_->property("Tag").toString() != QStringLiteral("0")
                                ? ReportKind::Viruses
                                : ReportKind::Devices;
    loadReports(view, local8(lstDates_->currentText()));
}

void frmReport::loadReports(ReportKind view, const std::string& selectedDate) {
    const MainOp& settings = context().mainOp;
    const std::string& folder = view == ReportKind::Devices ? settings.DirRep : settings.DirQuar;
    const ReportLoad load = model_->refresh(view, folder, selectedDate, dates_);
    lstReport_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    mirrorDates();
    const std::string problems = ReportProblemsMessage(load.problems);
    if (!problems.empty()) showError(context().services.messages, problems);
}

void frmReport::mirrorDates() {
    const auto& entries = dates_.entries();
    for (std::size_t entry = static_cast<std::size_t>(lstDates_->count()); entry < entries.size();
         ++entry)
        lstDates_->addItem(qs(entries[entry]));
}

void frmReport::fitColumns() {
    lstReport_->resizeColumnsToContents();
    QHeaderView* headings = lstReport_->horizontalHeader();
    for (int column = 0; column < headings->count(); ++column)
        headings->resizeSection(column, std::min(headings->sectionSize(column), kMaxColumnWidth));
}

void frmReport::sortByHeading(int column) {
    model_->sortByColumn(column);
    const auto& table = model_->table();
    QHeaderView* headings = lstReport_->horizontalHeader();
    if (table.sortColumn())
        headings->setSortIndicator(static_cast<int>(*table.sortColumn()), table.sortDescending()
                                                                              ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder);
}

void frmReport::HoverDevices(bool on) { hoverView(devices_, on); }

void frmReport::HoverViruses(bool on) { hoverView(viruses_, on); }

void frmReport::HoverSave(bool on) { hoverAction(save_, on); }

void frmReport::HoverSend(bool on) { hoverAction(send_, on); }

void frmReport::hoverView(const View& view, bool on) {
    // The selected view keeps its highlighted look when the pointer goes.
    if (!on && view.button->tag() != QStringLiteral("0")) return;
    view.button->showPictureOf(on ? view.highlighted : view.normal);
    view.caption->setTextColor(on ? context().HighlightColor : context().NormalColor);
}

void frmReport::hoverAction(const Action& action, bool on) {
    action.picture->showPictureOf(on ? action.highlighted : action.normal);
    action.caption->setTextColor(on ? context().HighlightColor : context().NormalColor);
}

void frmReport::SaveReportAs() {
    twk::SaveReportAs(context().services.saveFile, context().services.messages,
                      [this](const std::string& fileName) { return save_report(fileName); });
}

void frmReport::openSendReport() {
    hide();
    if (!sendReport_) sendReport_ = std::make_unique<frmSendReport>(context(), *this);
    sendReport_->show();
    sendReport_->raise();
    sendReport_->activateWindow();
}

void frmReport::closeSendReport() {
    show();
    raise();
    activateWindow();
    if (!sendReport_) return;
    sendReport_->hide();
    // The dialog's own click handler is still running: it goes once that returns.
    sendReport_.release()->deleteLater();
}

void frmReport::closePage() {
    navigator_.showMain();
    navigator_.unload(PageId::Reports);
}

}  // namespace twk
