#include "pages/reports/frm_report.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/twips.h"
#include "core/design/report_design.h"
#include "core/i18n/lang_op.h"
#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "core/reports/report_problems.h"
#include "core/reports/save_report_flow.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/waiting.h"
#include "pages/reports/date_list_model.h"
#include "pages/reports/frm_send_report.h"
#include "pages/reports/report_table_model.h"

namespace twk {
namespace {

namespace report_page = design::report_page;

constexpr int kSendCaptionLeft = design::find(report_page::kPage, "txtSend")->rect.left;
// Wide cells (paths, hardware IDs) are cut rather than pushing every other column away.
constexpr int kMaxColumnWidth = 220;
constexpr int kFittedRows = 100;

// The date chooser drops down as a list under the box rather than as a menu over it: a menu
// measures every entry before it opens, seconds for a million dates.
class ListDropDownStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

// The report table. A change of selection repaints the rows in sight: Qt's own table works out
// the region of a selection row by row, a tenth of a second for a million selected rows.
class ReportTableView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QRegion visualRegionForSelection(const QItemSelection&) const override {
        return viewport()->rect();
    }
};

void autoSizeWidth(QLabel* label) { label->resize(label->sizeHint().width(), label->height()); }

}  // namespace

frmReport::frmReport(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, report_page::kPage),
      navigator_(navigator),
      firstLoad_(runWhileWaiting, [this](LoadedReports loaded) {
          showLoaded(std::move(loaded));
          layOutColumns();
      }) {
    for (ReportKind view : {ReportKind::Devices, ReportKind::Viruses})
        layouts_[static_cast<std::size_t>(view)] =
            LoadReportViewLayout(context.settingsFolder, view);
    buildDesign();
    buildViews();
    buildActions();
    buildSearch();
    onClick("cmd_close", [this] { navigator_.take(report_page::kClose, PageId::Reports); });
    connect(this, &SkinnedPage::backgroundMouseMoved, this, [this] {
        HoverDevices(false);
        HoverViruses(false);
        HoverSave(false);
    });
    applyCaptions(context.langOp);
    centerOnScreen();
    selectView(devices_);
    firstLoad_.start(
        [folder = folderOf(ReportKind::Devices), dates = datesModel_->dates(),
         shown = showingOf(ReportKind::Devices)] {
            return readReports(ReportKind::Devices, folder, std::string(kAllDates), dates, shown);
        },
        [this] {
            QMetaObject::invokeMethod(this, &frmReport::finishFirstLoad, Qt::QueuedConnection);
        });
    cmd_line_->hide();
}

frmReport::~frmReport() {
    stopSearch();
    if (widthsSettle_.isActive()) saveLayout();
}

void frmReport::finishFirstLoad() { firstLoad_.finish(); }

QWidget* frmReport::makeOwnControl(const design::Control& control) {
    if (control.name == "lstDates") {
        buildDateChooser(control);
        return lstDates_;
    }
    if (control.name == "lstReport") {
        buildTable(control);
        return lstReport_;
    }
    return nullptr;
}

frmReport::View frmReport::makeView(const char* name, ReportKind kind, const char* tableTag) {
    View view;
    view.kind = kind;
    view.tableTag = tableTag;
    view.button = control(name);
    views_->addTab(view.button,
                   [this, kind] { kind == ReportKind::Devices ? ShowDevices() : ShowViruses(); });
    // Unlike the options tabs, a view button has a leave of its own.
    PictureButton* button = view.button;
    connect(button, &PictureButton::left, this, [this, button] { views_->hover(button, false); });
    return view;
}

void frmReport::buildViews() {
    views_ = new TabStrip(*this, control<SkinImage>("cmd_line1"));
    devices_ = makeView("cmd_devices", ReportKind::Devices, "0");
    viruses_ = makeView("cmd_viruses", ReportKind::Viruses, "1");
    cmd_line_ = control<SkinImage>("cmd_line");
}

void frmReport::buildDateChooser(const design::Control& design) {
    lstDates_ = new QComboBox(this);
    lstDates_->setObjectName(QString::fromLatin1(design.name));
    lstDates_->setGeometry(placeOf(design));
    lstDates_->setPlaceholderText(QString::fromLatin1(design.text));
    lstDates_->setFont(captionFont(design.pointSize));
    // Reports may hold a million dates: the entries come from a model of their own, the box
    // never measures them, and its list is a one-column table, whose rows all have one height,
    // where a list view would lay out every entry before it shows.
    datesModel_ = new DateListModel(context().langOp, lstDates_);
    lstDates_->setModel(datesModel_);
    lstDates_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* list = new QTableView();
    list->horizontalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(lstDates_->fontMetrics().height() + 4);
    list->setShowGrid(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setWordWrap(false);
    lstDates_->setView(list);
    auto* dropDown = new ListDropDownStyle();
    dropDown->setParent(lstDates_);
    lstDates_->setStyle(dropDown);
    QPalette colours = lstDates_->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        colours.setColor(role, toQColor(kDesignLabelColor));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        colours.setColor(role, toQColor(kEntryBackColor));
    lstDates_->setPalette(colours);
    // Its drop-down opens as a menu, which would take the desktop's menu colours.
    for (QWidget* dropDown :
         {lstDates_->view()->window(), static_cast<QWidget*>(lstDates_->view())})
        dropDown->setPalette(palette());
    connect(lstDates_, &QComboBox::activated, this, &frmReport::refreshDate);
}

void frmReport::buildTable(const design::Control& design) {
    lstReport_ = new ReportTableView(this);
    lstReport_->setObjectName(QString::fromLatin1(design.name));
    lstReport_->setGeometry(placeOf(design));
    model_ = new ReportTableModel(skinIcon(QStringLiteral("report_row_icon"), QSize(16, 16)),
                                  context().langOp, lstReport_);
    lstReport_->setModel(model_);
    lstReport_->setFont(captionFont(design.pointSize));
    lstReport_->setIconSize(QSize(16, 16));
    lstReport_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; the arrow keys move within it.
    lstReport_->setTabKeyNavigation(false);
    lstReport_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstReport_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstReport_->installEventFilter(this);
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
    // Widths fit the cells of a few rows: measuring a thousand rows of each column holds the
    // window for a fifth of a second.
    headings->setResizeContentsPrecision(kFittedRows);
    connect(headings, &QHeaderView::sectionClicked, this, &frmReport::sortByHeading);
    widthsSettle_.setSingleShot(true);
    widthsSettle_.setInterval(500);
    connect(&widthsSettle_, &QTimer::timeout, this, &frmReport::saveLayout);
    connect(headings, &QHeaderView::sectionResized, this, [this] {
        if (!layingOutColumns_) rememberColumnWidths();
    });
}

void frmReport::buildSearch() {
    // Named for screen readers by its caption, as every labelled box is.
    txtSearch_ = control<QLineEdit>("txtSearch");
    connect(txtSearch_, &QLineEdit::textChanged, this, &frmReport::startSearch);
}

void frmReport::buildActions() {
    save_ = control("cmdSave");
    send_ = control("cmdSend");
    // The save picture lies out of sight; should it ever show, it saves like its caption.
    connect(save_, &PictureButton::clicked, this, &frmReport::SaveReportAs);
    connect(save_->caption(), &Caption::clicked, this, &frmReport::SaveReportAs);
    connect(send_, &PictureButton::clicked, this, &frmReport::openSendReport);
    connect(send_->caption(), &Caption::clicked, this, &frmReport::openSendReport);
}

void frmReport::applyCaptions(const LangOp& captions) {
    showCaptions(captions);
    lstDates_->setPlaceholderText(qs(captions.lfr_choose));
    // The headings and "All dates" are drawn from the captions: a new language redraws them.
    if (model_->columnCount() > 0)
        emit model_->headerDataChanged(Qt::Horizontal, 0, model_->columnCount() - 1);
    if (datesModel_->rowCount() > 0)
        emit datesModel_->dataChanged(datesModel_->index(0), datesModel_->index(0));
    // Both action captions take the width of their text, so no language cuts them off.
    autoSizeWidth(send_->caption());
    Caption* save = save_->caption();
    autoSizeWidth(save);
    // The drawn width keeps wide letters from running into the send caption.
    const QFontMetrics metrics = save->fontMetrics();
    const int left = saveCaptionLeft(kSendCaptionLeft, captions.lfr_save,
                                     pixelsToTwips(metrics.horizontalAdvance(save->text())),
                                     pixelsToTwips(metrics.averageCharWidth()));
    save->move(twipsToPixels(left), save->y());
}

void frmReport::disable_all() {
    views_->clear();
    datesModel_->reset();
    lstDates_->setCurrentIndex(0);
}

bool frmReport::save_report(std::string FileName) {
    finishSearch();
    const ReportTable& table = model_->table();
    const ReportKind view = ExportViewOfDevicesTag(local8(devices_.button->tag()));
    // A large table takes a while to write: the pages keep painting meanwhile.
    return waitFor([&] { return SaveReportCsv(FileName, table, view); });
}

void frmReport::ShowDevices() { showView(devices_); }

void frmReport::ShowViruses() { showView(viruses_); }

void frmReport::showReportsOn(ReportKind view, const std::string& date) {
    // The page comes back from the send dialog first, so that it alone shows.
    if (sendReport_) closeSendReport();
    showView(view == ReportKind::Devices ? devices_ : viruses_);
    const std::size_t entry = datesModel_->dates().entryOf(date);
    if (entry == 0) return;
    lstDates_->setCurrentIndex(static_cast<int>(entry));
    refreshDate();
}

void frmReport::selectView(const View& view) {
    disable_all();
    views_->select(view.button);
    lstReport_->setProperty("Tag", QString::fromLatin1(view.tableTag));
    lstReport_->setAccessibleName(view.button->caption()->text());
}

void frmReport::showView(const View& view) {
    finishFirstLoad();
    selectView(view);
    loadReports(view.kind, std::string(kAllDates));
    layOutColumns();
}

ReportKind frmReport::shownView() const {
    return lstReport_->property("Tag").toString() != QStringLiteral("0") ? ReportKind::Viruses
                                                                         : ReportKind::Devices;
}

void frmReport::refreshDate() {
    finishFirstLoad();
    loadReports(shownView(), selectedDate());
}

// The date list's entry behind the chooser's selection: its bytes select the records, so a date
// that is no valid text in the system code page selects its records too.
std::string frmReport::selectedDate() const {
    const DateList& dates = datesModel_->dates();
    const int index = lstDates_->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < dates.size())
        return std::string(dates.entry(static_cast<std::size_t>(index)));
    return local8(lstDates_->currentText());
}

const std::string& frmReport::folderOf(ReportKind view) const {
    const MainOp& settings = context().mainOp;
    return view == ReportKind::Devices ? settings.DirRep : settings.DirQuar;
}

frmReport::Showing frmReport::showingOf(ReportKind view) const {
    const ReportViewLayout& layout = layouts_[static_cast<std::size_t>(view)];
    return {layout.sortColumn, layout.sortDescending, RowSearch(local8(txtSearch_->text()))};
}

LoadedReports frmReport::readReports(ReportKind view, const std::string& folder,
                                     const std::string& selectedDate, DateList dates,
                                     const Showing& shown, ReportTable table) {
    LoadedReports loaded{std::move(table), std::move(dates), {}};
    loaded.load = RefreshReports(view, folder, selectedDate, loaded.table, loaded.dates);
    if (shown.sortColumn) loaded.table.sortByColumn(*shown.sortColumn, shown.sortDescending);
    loaded.table.searchFor(shown.search);
    return loaded;
}

void frmReport::loadReports(ReportKind view, const std::string& selectedDate) {
    stopSearch();
    // The rows shown go first, and the new ones are read into their memory, so that a large
    // table is never held twice; the columns stay, and with them the widths the user sees.
    ReportTable emptied;
    emptied.setColumns(view);
    ReportTable shown = model_->install(std::move(emptied));
    const std::string& folder = folderOf(view);
    const DateList& dates = datesModel_->dates();
    const Showing showing = showingOf(view);
    showLoaded(waitFor(
        [&] { return readReports(view, folder, selectedDate, dates, showing, std::move(shown)); }));
}

void frmReport::showLoaded(LoadedReports loaded) {
    stopSearch();
    model_->install(std::move(loaded.table));
    datesModel_->grow(std::move(loaded.dates));
    const ReportLoad& load = loaded.load;
    showSortIndicator();
    // Typed while the rows were read.
    searchAgainIfNeeded();
    // A new view or date starts at its first row and column, wherever the last one was left.
    lstReport_->scrollToTop();
    lstReport_->horizontalScrollBar()->setValue(0);
    // The page loads hidden at start: its problems wait until the user opens it.
    const std::string problems = ReportProblemsMessage(load.problems, context().langOp);
    if (!problems.empty()) showErrorWhenVisible(problems);
}

void frmReport::layOutColumns() {
    const std::vector<int>& widths = shownLayout().columnWidths;
    QHeaderView* headings = lstReport_->horizontalHeader();
    if (widths.size() != static_cast<std::size_t>(headings->count())) {
        fitColumns();
        return;
    }
    layingOutColumns_ = true;
    for (int column = 0; column < headings->count(); ++column)
        headings->resizeSection(column, twipsToPixels(widths[static_cast<std::size_t>(column)]));
    layingOutColumns_ = false;
}

void frmReport::fitColumns() {
    layingOutColumns_ = true;
    lstReport_->resizeColumnsToContents();
    QHeaderView* headings = lstReport_->horizontalHeader();
    for (int column = 0; column < headings->count(); ++column)
        headings->resizeSection(column, std::min(headings->sectionSize(column), kMaxColumnWidth));
    layingOutColumns_ = false;
}

ReportViewLayout& frmReport::shownLayout() {
    return layouts_[static_cast<std::size_t>(shownView())];
}

void frmReport::rememberColumnWidths() {
    QHeaderView* headings = lstReport_->horizontalHeader();
    std::vector<int>& widths = shownLayout().columnWidths;
    widths.clear();
    for (int column = 0; column < headings->count(); ++column)
        widths.push_back(pixelsToTwips(headings->sectionSize(column)));
    widthsSettle_.start();
}

void frmReport::saveLayout() {
    widthsSettle_.stop();
    // Only the look of the table is lost when this fails: nothing to tell the user.
    SaveReportViewLayout(context().settingsFolder, shownView(), shownLayout());
}

void frmReport::sortByHeading(int column) {
    finishFirstLoad();
    if (column < 0 || column >= model_->columnCount()) return;
    stopSearch();
    // Millions of rows take a while to sort: the table keeps painting its rows meanwhile.
    const ReportTable& shown = model_->table();
    model_->applySort(waitFor([&] { return shown.sortedBy(static_cast<std::size_t>(column)); }));
    const ReportTable& table = model_->table();
    ReportViewLayout& layout = shownLayout();
    layout.sortColumn = table.sortColumn();
    layout.sortDescending = table.sortDescending();
    saveLayout();
    showSortIndicator();
    searchAgainIfNeeded();
}

void frmReport::showSortIndicator() {
    const ReportTable& table = model_->table();
    lstReport_->horizontalHeader()->setSortIndicator(
        table.sortColumn() ? static_cast<int>(*table.sortColumn()) : -1,
        table.sortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void frmReport::startSearch() {
    finishFirstLoad();
    search_.start(model_->table(), RowSearch(local8(txtSearch_->text())), [this] {
        QMetaObject::invokeMethod(this, &frmReport::showSearched, Qt::QueuedConnection);
    });
}

void frmReport::showSearched() {
    std::optional<ReportTable::PendingSearch> found = search_.take();
    if (!found) return;
    model_->applySearch(std::move(*found));
    lstReport_->scrollToTop();
}

void frmReport::finishSearch() {
    if (search_.running()) runWhileWaiting([this] { search_.wait(); });
    showSearched();
}

void frmReport::searchAgainIfNeeded() {
    if (model_->table().search().text() != local8(txtSearch_->text())) startSearch();
}

void frmReport::keyPressEvent(QKeyEvent* event) {
    // Escape empties the search first; with nothing to empty it closes the page.
    if (event->key() == Qt::Key_Escape && !txtSearch_->text().isEmpty()) {
        txtSearch_->clear();
        return;
    }
    SkinnedPage::keyPressEvent(event);
}

bool frmReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstReport_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelectedRows();
        return true;
    }
    return SkinnedPage::eventFilter(watched, event);
}

void frmReport::copySelectedRows() {
    finishFirstLoad();
    // The selection is of the rows shown now: no search result replaces them meanwhile.
    stopSearch();
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const QItemSelectionRange& range : lstReport_->selectionModel()->selection())
        ranges.emplace_back(range.top(), range.bottom());
    const ReportTable& table = model_->table();
    // Every row of a large table may be selected: its text is made while the windows paint.
    QGuiApplication::clipboard()->setText(waitFor([&] {
        // Ranges come in the order they were selected; the lines go in the order shown.
        std::sort(ranges.begin(), ranges.end());
        std::vector<std::size_t> rows;
        for (const auto& [top, bottom] : ranges)
            for (std::size_t row = rows.empty() ? top : std::max(top, rows.back() + 1);
                 row <= bottom; ++row)
                rows.push_back(row);
        return qs(CopiedReportRows(table, rows));
    }));
    searchAgainIfNeeded();
}

void frmReport::HoverDevices(bool on) { views_->hover(devices_.button, on); }

void frmReport::HoverViruses(bool on) { views_->hover(viruses_.button, on); }

void frmReport::HoverSave(bool on) { showHover(save_, on); }

void frmReport::SaveReportAs() {
    finishFirstLoad();
    twk::SaveReportAs(
        context().services.saveFile, context().services.messages,
        [this](const std::string& fileName) { return save_report(fileName); }, context().langOp);
}

void frmReport::openSendReport() {
    finishFirstLoad();
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

}  // namespace twk
