#pragma once

#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/reports/background_search.h"
#include "core/reports/date_list.h"
#include "core/reports/first_report_load.h"
#include "core/reports/report_loader.h"
#include "core/reports/report_record.h"
#include "core/reports/report_table.h"
#include "core/reports/report_view_layout.h"
#include "pages/app/skinned_page.h"
#include "pages/app/tab_strip.h"

class QComboBox;
class QLineEdit;
class QTableView;

namespace twk {

class LangOp;
class Navigator;
class DateListModel;
class ReportTableModel;
class frmSendReport;

// The report page: the Devices and Viruses views of the guard service's reports in one table,
// the date chooser, and the save and send actions.
class frmReport : public SkinnedPage {
    Q_OBJECT
public:
    frmReport(AppContext& context, Navigator& navigator);
    ~frmReport() override;

    // The page's five captions from the caption table, with the save caption placed left of
    // the send caption by the length of its text. The caption loader calls it on the loaded
    // page; every later load of the page calls it too.
    void applyCaptions(const LangOp& captions);

    // Both view buttons unselected and normal, the date chooser back to "All dates" alone.
    void disable_all();
    // Writes the table as shown to FileName in the layout of the selected view; false when
    // the file could not be written.
    bool save_report(std::string FileName);

    void ShowDevices();
    void ShowViruses();
    // The view as its button shows it, then narrowed to date as when it is picked, when the
    // date chooser offers it (kAllDates leaves every date).
    void showReportsOn(ReportKind view, const std::string& date);

    // The page reads its first view while the program starts, so that no window waits for the
    // reports. Its rows are in the table once this returns: when they are still being read it
    // waits for them, the windows painting meanwhile. Every use of the table calls it first.
    void finishFirstLoad();

    // The send action: this page hides and the send-report dialog shows.
    void openSendReport();
    // The send-report dialog while it is open, else null.
    frmSendReport* sendReportDialog() const { return sendReport_.get(); }
    // The dialog's close: this page comes back as it was and the dialog goes.
    void closeSendReport();

private:
    // One of the two views: its tab button (which knows its caption) and where its reports lie.
    struct View {
        PictureButton* button = nullptr;
        ReportKind kind = ReportKind::Devices;
        const char* tableTag = "0";
    };

    QWidget* makeOwnControl(const design::Control& control) override;
    void buildViews();
    void buildDateChooser(const design::Control& design);
    void buildTable(const design::Control& design);
    // The save and send actions: their captions, which the user acts on, and their pictures,
    // which lie outside the window.
    void buildActions();
    View makeView(const char* name, ReportKind kind, const char* tableTag);

    // What a refresh shows besides the view's rows: the view's sort and the search.
    struct Showing {
        std::optional<std::size_t> sortColumn;
        bool sortDescending = false;
        RowSearch search;
    };
    // Reads into table, whose rows go and whose memory is read into again, then sorts and
    // searches the rows as shown says.
    static LoadedReports readReports(ReportKind view, const std::string& folder,
                                     const std::string& selectedDate, DateList dates,
                                     const Showing& shown, ReportTable table = {});
    Showing showingOf(ReportKind view) const;
    const std::string& folderOf(ReportKind view) const;

    void selectView(const View& view);
    void showView(const View& view);
    // The date chooser's pick: the shown view's folders again, narrowed to the picked date.
    void refreshDate();
    std::string selectedDate() const;
    void loadReports(ReportKind view, const std::string& selectedDate);
    void showLoaded(LoadedReports loaded);
    // The view's columns as the user left them, else fitted to their cells.
    void layOutColumns();
    void fitColumns();
    void sortByHeading(int column);
    void showSortIndicator();
    // The layout of the view in the table, kept in the user's own settings.
    ReportViewLayout& shownLayout();
    ReportKind shownView() const;
    void rememberColumnWidths();
    void saveLayout();

    // The search box narrows the rows shown as the user types; Escape empties it.
    void buildSearch();
    void startSearch();
    void showSearched();
    // Before the table changes: the search looking through it stops. After: the rows shown
    // follow the box again.
    void stopSearch() { search_.stop(); }
    // The rows shown as the box says, for the export: the search still running is waited for.
    void finishSearch();
    void searchAgainIfNeeded();
    void keyPressEvent(QKeyEvent* event) override;

    // Ctrl+C on the table copies the selected rows.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void copySelectedRows();

    void HoverDevices(bool on);
    void HoverViruses(bool on);
    void HoverSave(bool on);

    void SaveReportAs();

    Navigator& navigator_;
    TabStrip* views_ = nullptr;
    View devices_;
    View viruses_;
    PictureButton* save_ = nullptr;
    PictureButton* send_ = nullptr;
    SkinImage* cmd_line_ = nullptr;
    QComboBox* lstDates_ = nullptr;
    QTableView* lstReport_ = nullptr;
    ReportTableModel* model_ = nullptr;
    DateListModel* datesModel_ = nullptr;
    QLineEdit* txtSearch_ = nullptr;
    BackgroundSearch search_;
    std::array<ReportViewLayout, 2> layouts_;  // Devices, Viruses
    bool layingOutColumns_ = false;            // widths change, but not by the user
    QTimer widthsSettle_;                      // a drag of a column's edge ends before a save
    FirstReportLoad firstLoad_;
    std::unique_ptr<frmSendReport> sendReport_;
};

}  // namespace twk
