#include "win32/frm_report.h"

#include <utility>

#include "core/app/app_context.h"
#include "core/design/report_design.h"
#include "core/i18n/lang_op.h"
#include "core/reports/report_export.h"
#include "core/reports/report_problems.h"
#include "core/reports/save_report_flow.h"
#include "win32/combo_box.h"
#include "win32/frm_send_report.h"
#include "win32/navigator.h"
#include "win32/waiting.h"

namespace twk::win32 {
namespace {

namespace report_page = design::report_page;

// The picture every row shows beside its first cell.
constexpr const char* kRowIcon = "report_row_icon";
constexpr UINT kShowPendingError = WM_APP + 1;
// The send dialog goes once its own click handler has returned.
constexpr UINT kDropSendReport = WM_APP + 2;
// A search has found its rows.
constexpr UINT kShowSearched = WM_APP + 3;
constexpr UINT kFirstLoadDone = WM_APP + 4;

}  // namespace

struct ReportView {
    const char* button;
    ReportKind kind;
    const char* tableTag;  // the table's tag while the view shows
};

namespace {

constexpr ReportView kDevices{"cmd_devices", ReportKind::Devices, "0"};
constexpr ReportView kViruses{"cmd_viruses", ReportKind::Viruses, "1"};

}  // namespace

// The table as the list view reads it.
class frmReport::TableModel : public ListModel {
public:
    TableModel(const ReportTable& table, const LangOp& captions)
        : table_(table), captions_(captions) {}
    std::size_t columnCount() const override { return table_.columnCount(); }
    std::string_view heading(std::size_t column) const override {
        return table_.heading(column, captions_);
    }
    std::size_t rowCount() const override { return table_.rowCount(); }
    std::string_view cell(std::size_t row, std::size_t column) const override {
        return ShownCell(table_.cell(row, column));
    }

private:
    const ReportTable& table_;
    const LangOp& captions_;
};

frmReport::frmReport(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, report_page::kPage),
      navigator_(navigator),
      views_(*this, control<Picture>("cmd_line1")),
      model_(std::make_unique<TableModel>(table_, context.langOp)),
      firstLoad_(runWhileWaiting, [this](LoadedReports loaded) { showLoaded(std::move(loaded)); }) {
    lstDates_ = &static_cast<ComboBox&>(adopt(std::make_unique<ComboBox>(
        *this, *design::find(design(), "lstDates"), ComboBox::Entry::ListOnly)));
    lstReport_ = &static_cast<ListView&>(
        adopt(std::make_unique<ListView>(*this, *design::find(design(), "lstReport"), kRowIcon)));
    lstReport_->setModel(model_.get());
    lstReport_->onHeadingClick = [this](int column) { sortByHeading(column); };
    lstDates_->onSelect = [this] { refreshDate(); };
    txtSearch_ = &control<EntryBox>("txtSearch");
    txtSearch_->onChange = [this] { startSearch(); };

    for (const View& view : {kDevices, kViruses}) {
        PictureButton& tab = button(view.button);
        views_.add(tab);
        tab.onClick = [this, view] { showView(view); };
        tab.onEnter = [this, &tab] { views_.hover(tab, true); };
        tab.onLeave = [this, &tab] { views_.hover(tab, false); };
    }
    // The action pictures lie out of sight; should one ever show, it acts like its caption.
    link("txtSave").onClick = button("cmdSave").onClick = [this] { SaveReportAs(); };
    link("txtSend").onClick = button("cmdSend").onClick = [this] { openSendReport(); };
    // The design's second marker is never shown.
    ::ShowWindow(control<Picture>("cmd_line").hwnd(), SW_HIDE);
    onClose = [this] {
        navigator_.showMain();
        navigator_.unload(design::PageId::Reports);
    };
    applyReportCaptions();
    startFirstLoad();
}

frmReport::~frmReport() = default;

void frmReport::applyReportCaptions() {
    applyCaptions();
    placeSaveCaption();
}

// The page is made hidden at start and reads its first view meanwhile, while the main window
// comes up; the list shows the view's columns until the rows are in.
void frmReport::startFirstLoad() {
    selectView(kDevices);
    table_.setColumns(ReportKind::Devices);
    lstReport_->reset();
    firstLoad_.start(
        [folder = context().mainOp.DirRep, dates = dates_]() mutable {
            LoadedReports loaded{{}, std::move(dates), {}};
            loaded.load = RefreshReports(ReportKind::Devices, folder, std::string(kAllDates),
                                         loaded.table, loaded.dates);
            return loaded;
        },
        [window = hwnd()] { ::PostMessageA(window, kFirstLoadDone, 0, 0); });
}

void frmReport::finishFirstLoad() { firstLoad_.finish(); }

// The save caption stands left of the send caption by the length of its text.
void frmReport::placeSaveCaption() {
    const design::Rect send = link("txtSend").design().rect;
    design::Rect save = link("txtSave").design().rect;
    // The drawn width keeps wide letters from running into the send caption.
    TextLink& caption = link("txtSave");
    const std::string& text = context().langOp.lfr_save;
    HDC dc = ::GetDC(caption.hwnd());
    HGDIOBJ old = ::SelectObject(dc, captionFont(caption.design().pointSize, dpi()));
    SIZE drawn{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &drawn);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(caption.hwnd(), dc);
    const auto twips = [this](int pixels) { return pixels * 1440 / dpi(); };
    save.left = saveCaptionLeft(send.left, text, twips(drawn.cx), twips(metrics.tmAveCharWidth));
    save.width = send.left - save.left;
    caption.moveTo(save);
}

void frmReport::disable_all() {
    views_.clear();
    dates_.reset();
    lstDates_->setItems(dates_.shownEntries(context().langOp.lfr_alldates));
    lstDates_->select(0);
}

void frmReport::selectView(const View& view) {
    disable_all();
    views_.select(button(view.button));
    tableTag_ = view.tableTag;
}

void frmReport::showView(const View& view) {
    finishFirstLoad();
    selectView(view);
    loadReports(view.kind, std::string(kAllDates));
}

void frmReport::refreshDate() {
    finishFirstLoad();
    loadReports(tableTag_ != "0" ? ReportKind::Viruses : ReportKind::Devices, selectedDate());
}

// The date list's entry behind the chooser's selection: its bytes select the records.
std::string frmReport::selectedDate() const {
    const auto& entries = dates_.entries();
    const int index = lstDates_->selectedIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < entries.size()) return entries[index];
    return std::string(kAllDates);
}

void frmReport::loadReports(ReportKind view, const std::string& selectedDate) {
    // The rows shown go first and the new ones are read into their memory, so a large table is
    // never held twice; meanwhile the list shows the view's columns and no row.
    search_.stop();
    LoadedReports loaded{std::exchange(table_, ReportTable()), dates_, {}};
    table_.setColumns(view);
    lstReport_->reset();
    const MainOp& settings = context().mainOp;
    const std::string& folder = view == ReportKind::Devices ? settings.DirRep : settings.DirQuar;
    const RowSearch search(txtSearch_->value());
    loaded.load = waitFor([&] {
        const ReportLoad read =
            RefreshReports(view, folder, selectedDate, loaded.table, loaded.dates);
        loaded.table.searchFor(search);
        return read;
    });
    showLoaded(std::move(loaded));
}

void frmReport::showLoaded(LoadedReports loaded) {
    table_ = std::move(loaded.table);
    dates_ = std::move(loaded.dates);
    lstReport_->reset();
    lstReport_->fitColumns();
    lstDates_->appendFrom(dates_.shownEntries(context().langOp.lfr_alldates));
    const std::string problems = ReportProblemsMessage(loaded.load.problems, context().langOp);
    if (problems.empty()) return;
    // The page loads hidden at start: its problems wait until the user opens it.
    pendingError_ = problems;
    if (isShown()) ::PostMessageA(hwnd(), kShowPendingError, 0, 0);
}

void frmReport::sortByHeading(int column) {
    finishFirstLoad();
    if (column < 0 || static_cast<std::size_t>(column) >= table_.columnCount()) return;
    search_.stop();
    // The rows move on another thread: the list paints none of them meanwhile.
    lstReport_->freeze();
    waitFor([&] {
        table_.sortByColumn(static_cast<std::size_t>(column));
        return true;
    });
    lstReport_->thaw();
    if (table_.sortColumn())
        lstReport_->showSortMark(static_cast<int>(*table_.sortColumn()), table_.sortDescending());
    searchAgainIfNeeded();
}

void frmReport::startSearch() {
    // The search reads the table on a thread of its own: the first rows must be in first.
    finishFirstLoad();
    search_.start(table_, RowSearch(txtSearch_->value()),
                  [window = hwnd()] { ::PostMessageA(window, kShowSearched, 0, 0); });
}

void frmReport::showSearched() {
    std::optional<ReportTable::PendingSearch> found = search_.take();
    if (!found || !table_.applySearch(std::move(*found))) return;
    lstReport_->reset();
}

void frmReport::searchAgainIfNeeded() {
    if (table_.search().text() != txtSearch_->value()) startSearch();
}

void frmReport::finishSearch() {
    if (search_.running())
        waitFor([this] {
            search_.wait();
            return true;
        });
    showSearched();
}

// Escape empties the search first; with nothing to empty it closes the page.
bool frmReport::clearSearch() {
    if (txtSearch_->value().empty()) return false;
    txtSearch_->setValue({});
    return true;
}

bool frmReport::save_report(std::string FileName) {
    finishSearch();
    const ReportKind view = ExportViewOfDevicesTag(views_.tag(button(kDevices.button)));
    // A large table takes a while to write: the pages keep painting meanwhile.
    return waitFor([&] { return SaveReportCsv(FileName, table_, view); });
}

void frmReport::SaveReportAs() {
    finishFirstLoad();
    twk::SaveReportAs(
        context().services.saveFile, context().services.messages,
        [this](const std::string& fileName) { return save_report(fileName); }, context().langOp);
}

void frmReport::onSurfaceMouseMove() { views_.leaveAll(); }

void frmReport::ShowDevices() { showView(kDevices); }

void frmReport::ShowViruses() { showView(kViruses); }

void frmReport::showReportsOn(ReportKind view, const std::string& date) {
    // The page comes back from the send dialog first, so that it alone shows.
    if (sendReport_ && sendReport_->isShown()) closeSendReport();
    showView(view == ReportKind::Devices ? kDevices : kViruses);
    const std::size_t entry = dates_.entryOf(date);
    if (entry == 0) return;
    lstDates_->select(static_cast<int>(entry));
    refreshDate();
}

void frmReport::openSendReport() {
    finishFirstLoad();
    hide();
    if (!sendReport_) sendReport_ = std::make_unique<frmSendReport>(context(), *this);
    sendReport_->show();
}

void frmReport::closeSendReport() {
    show();
    if (sendReport_) sendReport_->hide();
    ::PostMessageA(hwnd(), kDropSendReport, 0, 0);
}

LRESULT frmReport::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kShowSearched:
            showSearched();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE && clearSearch()) return 0;
            break;
        case WM_COMMAND:
            if (!lParam && LOWORD(wParam) == IDCANCEL && clearSearch()) return 0;
            break;
        case WM_SHOWWINDOW:
            if (wParam && !pendingError_.empty()) ::PostMessageA(hwnd(), kShowPendingError, 0, 0);
            break;
        case kFirstLoadDone:
            finishFirstLoad();
            return 0;
        case kShowPendingError:
            if (isShown() && !pendingError_.empty())
                showError(context().services.messages, std::exchange(pendingError_, {}));
            return 0;
        case kDropSendReport:
            if (sendReport_ && !sendReport_->isShown()) sendReport_.reset();
            return 0;
    }
    return SkinnedPage::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
