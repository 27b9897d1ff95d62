#pragma once

#include <memory>

#include "core/app/app_context.h"
#include "win32/frm_main.h"
#include "win32/navigator.h"
#include "win32/report_notifier.h"
#include "win32/services.h"
#include "win32/skin.h"

namespace twk::win32 {

// The real services, context, pages and message loop of one running program.
class Application {
public:
    Application();

    AppContext& context() { return context_; }
    Navigator& navigator() { return navigator_; }
    frmMain& main() { return *main_; }

    // Runs until the program ends; the exit status.
    int run();

private:
    // A notice's click: the report page on its view and date.
    void openReports(ReportKind view, const std::string& date);

    PictureDrawing drawing_;
    Win32MessageBoxes messages_;
    Win32SaveFileDialog saveFile_;
    Win32FolderPicker folders_;
    Win32UrlOpener urls_;
    LoadedHelperLibrary helper_;
    SystemClock clock_;
    AppContext context_;
    Navigator navigator_;
    std::unique_ptr<frmMain> main_;
    ReportNotifier notifier_;
};

}  // namespace twk::win32
