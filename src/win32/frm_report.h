#pragma once

#include <memory>
#include <string>

#include "core/reports/background_search.h"
#include "core/reports/date_list.h"
#include "core/reports/first_report_load.h"
#include "core/reports/report_loader.h"
#include "core/reports/report_table.h"
#include "win32/list_view.h"
#include "win32/page.h"
#include "win32/tab_strip.h"

namespace twk::win32 {

class ComboBox;
class EntryBox;
class Navigator;
class frmSendReport;
// One of the report page's two views: its button and the reports it shows.
struct ReportView;

// The report page: the Devices and Viruses views of the guard service's reports in one table,
// the date chooser, and the save and send actions.
class frmReport : public SkinnedPage {
public:
    frmReport(AppContext& context, Navigator& navigator);
    ~frmReport() override;

    void disable_all();
    // Writes the table as shown to FileName in the layout of the selected view; false when the
    // file could not be written.
    bool save_report(std::string FileName);
    void ShowDevices();
    void ShowViruses();
    // A notice's place: its view, on its date when the date chooser offers it.
    void showReportsOn(ReportKind view, const std::string& date);

    // The captions of the caption table, the save caption placed by its length: the caption
    // loader hands them over at start and after a save of the options.
    void applyReportCaptions();

    void openSendReport();
    // The dialog's close: this page comes back as it was and the dialog goes.
    void closeSendReport();

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onSurfaceMouseMove() override;

private:
    using View = ReportView;
    class TableModel;

    void placeSaveCaption();
    void selectView(const View& view);
    void showView(const View& view);
    void refreshDate();
    std::string selectedDate() const;
    void loadReports(ReportKind view, const std::string& selectedDate);
    void startFirstLoad();
    // Every action on the page first waits for the reading the page began when it was made.
    void finishFirstLoad();
    void showLoaded(LoadedReports loaded);
    void sortByHeading(int column);
    void SaveReportAs();

    // The search box narrows the rows shown as the user types; Escape empties it.
    void startSearch();
    void showSearched();
    // Before the table changes the search looking through it stops; after, the rows shown follow
    // the box again.
    void searchAgainIfNeeded();
    // The rows shown as the box says, for the export: the search still running is waited for.
    void finishSearch();
    bool clearSearch();

    Navigator& navigator_;
    TabStrip views_;
    ComboBox* lstDates_ = nullptr;
    ListView* lstReport_ = nullptr;
    std::unique_ptr<TableModel> model_;
    ReportTable table_;
    DateList dates_;
    // The table's tag: "0" Devices, "1" Viruses.
    std::string tableTag_ = "0";
    FirstReportLoad firstLoad_;
    std::string pendingError_;
    std::unique_ptr<frmSendReport> sendReport_;
    EntryBox* txtSearch_ = nullptr;
    // After the table: it reads the table, so it goes first.
    BackgroundSearch search_;
};

}  // namespace twk::win32
