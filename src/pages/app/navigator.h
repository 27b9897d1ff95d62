#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/design/actions.h"

class QWidget;

namespace twk {

class AppContext;
class TrayBackend;
class frmMain;

using design::PageId;

// Opens and closes the pages: one page at a time besides the main window, which is never
// unloaded. The report page lives from start-up on (hidden) because the caption loader loads it.
class Navigator : public QObject, public design::PageSteps {
    Q_OBJECT
public:
    using PageFactory = std::function<QWidget*(Navigator&)>;

    Navigator(AppContext& context, TrayBackend& tray);
    ~Navigator() override;

    AppContext& context() const { return context_; }
    frmMain& main() const { return *main_; }

    // Installs how a page is made; pages not installed do nothing when asked for.
    void registerPage(PageId id, PageFactory factory);
    bool hasPage(PageId id) const override { return factories_.count(id) != 0; }

    // Makes the page when it is not loaded yet, without showing it; null when not installed.
    QWidget* load(PageId id);
    // Loads the page and shows it.
    QWidget* open(PageId id);
    // Unloads a page; a later open makes it afresh.
    void unload(PageId id) override;
    QWidget* loaded(PageId id) const;

    void showMain() override;
    // Does what a control's action says, on the page from (none for the main window).
    void take(const design::Action& action, std::optional<PageId> from = std::nullopt);
    // Ends the program at once, after the tray icon has been removed.
    std::function<void()> endProcess;

private:
    void openPage(PageId id, bool hidesMain) override;
    void hideToTray() override;
    void exitProgram() override;

    AppContext& context_;
    std::map<PageId, PageFactory> factories_;
    std::map<PageId, QPointer<QWidget>> pages_;
    std::unique_ptr<frmMain> main_;
};

}  // namespace twk
