// Renders every page of the program to PNG files, offscreen, with sample settings, reports and
// drives, so the pages can be looked at without a display.
// Usage: screenshot [folder [language [page]]]; only the named page when one is given. On a
// screen of more than one pixel per pixel (QT_SCALE_FACTOR=2) the files are named <page>_2x.png.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/app/app_context.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/app/tray_backend.h"
#include "pages/options/frm_options.h"
#include "pages/protection/frm_guard.h"
#include "pages/reports/frm_report.h"
#include "pages/reports/frm_send_report.h"
#include "tools/sample_environment.h"

namespace {

struct Shot {
    const char* name;
    std::function<QWidget*(twk::Navigator&)> show;
};

// The options page on one tab, as it looks once the pointer has moved over it.
QWidget* optionsTab(twk::Navigator& pages, bool mail) {
    auto* options = static_cast<twk::frmOptions*>(pages.load(twk::PageId::Options));
    if (!options) return nullptr;
    if (mail)
        options->ShowMailTab();
    else
        options->ShowGeneralTab();
    options->ResetHover();
    return options;
}

// The protection page over sample drives, switched on or off.
QWidget* guardPage(twk::Navigator& pages, int drives, bool on) {
    pages.context().mainOp.isGuard.assign(1, on ? '1' : '0');
    auto* page = new twk::frmGuard(pages.context(), pages,
                                   std::make_unique<twk::tools::SampleDrives>(drives));
    pages.context().mainOp.isGuard.clear();
    page->setAttribute(Qt::WA_DeleteOnClose);
    return page;
}

// The report page once its first view's rows are read.
twk::frmReport* reportPage(twk::Navigator& pages) {
    auto* report = qobject_cast<twk::frmReport*>(pages.load(twk::PageId::Reports));
    if (report) report->finishFirstLoad();
    return report;
}

std::vector<Shot> shots() {
    return {
        {"main",
         [](twk::Navigator& pages) -> QWidget* {
             pages.main().applyCaptions();
             return &pages.main();
         }},
        {"protection", [](twk::Navigator& pages) { return pages.load(twk::PageId::Protection); }},
        {"protection_one", [](twk::Navigator& pages) { return guardPage(pages, 1, false); }},
        {"protection_seven_on", [](twk::Navigator& pages) { return guardPage(pages, 7, true); }},
        {"reports", [](twk::Navigator& pages) -> QWidget* { return reportPage(pages); }},
        {"reports_viruses",
         [](twk::Navigator& pages) -> QWidget* {
             auto* report = reportPage(pages);
             if (!report) return nullptr;
             report->ShowViruses();
             return report;
         }},
        {"send_report",
         [](twk::Navigator& pages) -> QWidget* {
             auto* report = reportPage(pages);
             if (!report) return nullptr;
             report->openSendReport();
             return report->sendReportDialog();
         }},
        {"options", [](twk::Navigator& pages) { return optionsTab(pages, false); }},
        {"options_mail", [](twk::Navigator& pages) { return optionsTab(pages, true); }},
        {"info", [](twk::Navigator& pages) { return pages.load(twk::PageId::Info); }},
        {"feedback", [](twk::Navigator& pages) { return pages.load(twk::PageId::Feedback); }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString outputFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    const QString language = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("English");
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const qreal ratio = app.devicePixelRatio();
    const QString suffix = ratio > 1 ? QStringLiteral("_%1x").arg(ratio) : QString();
    QDir().mkpath(outputFolder);

    twk::tools::SampleEnvironment sample(language.toStdString());
    twk::Navigator pages(sample.context(), sample.tray());
    twk::registerPages(pages);
    twk::startUp(sample.context());

    int written = 0;
    for (const Shot& shot : shots()) {
        if (!only.isEmpty() && only != QLatin1String(shot.name)) continue;
        QWidget* page = shot.show(pages);
        if (!page) continue;
        const QString file =
            QDir(outputFolder).filePath(QStringLiteral("%1%2.png").arg(shot.name, suffix));
        if (!page->grab().save(file)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(QDir(file).absolutePath()));
        ++written;
    }
    return written > 0 ? 0 : 1;
}
