#pragma once

#include <memory>

#include "core/app/app_context.h"
#include "pages/app/desktop_notifications.h"
#include "pages/app/journal.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_services.h"
#include "pages/app/qt_translations.h"
#include "pages/app/report_notifier.h"
#include "pages/app/tray_backend.h"

namespace twk {

// The real services, context, tray and pages of one running program.
class Application {
public:
    Application();

    AppContext& context() { return context_; }
    Navigator& navigator() { return *navigator_; }

private:
    // A notification's click: the report page on its view and date.
    void openReports(ReportKind view, const std::string& date);

    QtJournal journal_;  // first: every later part may give a reason
    QtTranslations qtTexts_;
    QtMessageBoxes messages_;
    QtSaveFileDialog saveFile_;
    QtFolderPicker folders_;
    QtUrlOpener urls_;
    LoadedHelperLibrary helper_;
    SystemClock clock_;
    AppContext context_;
    QtTrayBackend tray_;
    std::unique_ptr<Navigator> navigator_;
    DesktopNotifications notifications_;
    ReportNotifier reportNotifier_;
};

}  // namespace twk
