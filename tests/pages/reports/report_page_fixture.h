#pragma once

#include <QAbstractItemModel>
#include <QComboBox>
#include <QMouseEvent>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>

#include "core/reports/report_record.h"
#include "core/settings/main_op.h"
#include "core/settings/regedit.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/reports/frm_report.h"
#include "pages/support/page_fixture.h"

namespace twk::test {

inline const std::string kEnglishReportCaptions =
    "[frmReport]\nlfr_menu1=Devices\nlfr_menu2=Viruses\nlfr_sort=Sorted by date:\n"
    "lfr_save=Save to disk\nlfr_send=Send report\nlfr_search=Search:\n"
    "[frmSendReport]\nlfsr_pagename=Sending report\nlfsr_recip=Recipient\nlfsr_send=Send report\n";

inline std::string reportLines(std::string_view header, std::initializer_list<std::string> lines) {
    std::string text = std::string(header) + "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Settings of a program in English whose reports folder is reports (the benches' own folders).
inline void useReportsFolder(PageEnvironment& env, const std::string& reports) {
    env.addLanguage("English", kEnglishReportCaptions);
    Regedit::SaveStrings(Regedit::RootKey(env.store.path()), kSettingsKey,
                         {{"Language", "English"}, {"DirectoryReports", reports}});
}

// The program as it starts: settings naming a reports and a quarantine folder with a few
// reports, the pages registered, then the start procedure, whose caption loader loads the
// report page hidden.
class ReportPageFixture {
public:
    // beforeStart sees the program once the sample reports are in its reports folder.
    explicit ReportPageFixture(
        const std::string& language = "English",
        const std::string& captions = kEnglishReportCaptions, HelperLibrary* mail = nullptr,
        const std::function<void(ReportPageFixture& starting)>& beforeStart = {})
        : reports(data.file("reports")), quarantine(data.file("quarantine")), env(mail) {
        env.addLanguage(language, captions);
        Regedit::SaveStrings(Regedit::RootKey(env.store.path()), kSettingsKey,
                             {{"Language", language},
                              {"DirectoryReports", reports},
                              {"DirectoryQuarantine", quarantine}});
        writeSampleReports();
        if (beforeStart) beforeStart(*this);
        pages = std::make_unique<Navigator>(env.context, env.tray);
        registerPages(*pages);
        env.startUp();
        if (report()) report()->finishFirstLoad();
    }

    // Devices users in reading order: zoe, adam (sended reports), mia, bob; three dates.
    // Viruses: eve (sended reports), ian; two dates; a .txt file that is no viruses report.
    void writeSampleReports() {
        writeFile(reports + "/sended reports/a.log",
                  reportLines(kDeviceFileHeader,
                              {"pc1;zoe;10.01.2013 08:00:00;Connect;Stick A;E:\\;Desc A;USBSTOR;"
                               "USB;HW-A;Maker A;SER-A",
                               "pc1;adam;11.01.2013 09:00:00;Disconnect;Stick A;E:\\;Desc A;"
                               "USBSTOR;USB;HW-A;Maker A;SER-A"}));
        writeFile(reports + "/b.txt",
                  reportLines(kDeviceFileHeader,
                              {"pc2;mia;11.01.2013 10:00:00;Connect;Stick B;F:\\;Desc B;USBSTOR;"
                               "USB;HW-B;Maker B;SER-B",
                               "pc2;bob;12.01.2013 11:00:00;Scan;Stick B;F:\\;Desc B;USBSTOR;USB;"
                               "HW-B;Maker B;SER-B"}));
        writeFile(
            quarantine + "/sended reports/v.csv",
            reportLines(kVirusFileHeader,
                        {"pc3;eve;01.02.2013 12:00:00;Moved;E:\\x.exe;C:\\Q\\x.exe;Stick A"}));
        writeFile(quarantine + "/w.CSV",
                  reportLines(kVirusFileHeader, {"pc4;ian;02.02.2013 13:00:00;Deleted;F:\\y.exe;;"
                                                 "Stick B"}));
        writeFile(quarantine + "/notes.txt", "pc9;nobody;09.09.2013 09:00:00;Read;a;b;c\r\n");
    }

    frmReport* report() const { return qobject_cast<frmReport*>(pages->loaded(PageId::Reports)); }

    template <typename T = PictureButton>
    T* control(const char* name) const {
        T* found = report() ? report()->findChild<T*>(name) : nullptr;
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    QTableView* table() const { return control<QTableView>("lstReport"); }
    QComboBox* dates() const { return control<QComboBox>("lstDates"); }

    QStringList column(int index) const {
        QStringList texts;
        const QAbstractItemModel* model = table()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, index).data().toString();
        return texts;
    }
    QStringList headings() const {
        QStringList texts;
        const QAbstractItemModel* model = table()->model();
        for (int section = 0; section < model->columnCount(); ++section)
            texts << model->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        return texts;
    }
    QStringList dateEntries() const {
        QStringList texts;
        for (int entry = 0; entry < dates()->count(); ++entry) texts << dates()->itemText(entry);
        return texts;
    }
    // The user picks an entry of the date chooser.
    void pickDate(const QString& date) const {
        const int entry = dates()->findText(date);
        if (entry < 0) qFatal("no date %s", qPrintable(date));
        dates()->setCurrentIndex(entry);
        emit dates()->activated(entry);
    }

    TempDir data;
    const std::string reports;
    const std::string quarantine;
    PageEnvironment env;
    std::unique_ptr<Navigator> pages;
};

// A pointer move over a window's own surface, away from its controls.
inline void moveOverBackground(QWidget* page, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, page->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(page, &move);
}

}  // namespace twk::test
