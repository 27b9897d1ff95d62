#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/design/actions.h"
#include "win32/page.h"

namespace twk::win32 {

class frmMain;

// Opens and unloads the pages: one page at a time besides the main window, which is never
// unloaded.
class Navigator : public design::PageSteps {
public:
    using PageFactory = std::function<std::unique_ptr<SkinnedPage>(Navigator&)>;

    explicit Navigator(AppContext& context) : context_(context) {}

    AppContext& context() const { return context_; }
    frmMain& main() const { return *main_; }
    void setMain(frmMain& main) { main_ = &main; }

    // Installs how a page is made; pages not installed do nothing when asked for.
    void registerPage(design::PageId id, PageFactory factory);
    bool hasPage(design::PageId id) const override { return factories_.count(id) != 0; }

    // Makes the page when it is not loaded yet, without showing it; null when not installed.
    SkinnedPage* load(design::PageId id);
    // Loads the page and shows it.
    SkinnedPage* open(design::PageId id);
    // Unloads a page; a later open makes it afresh. Its window goes at once, the object when
    // the message that asked for it has been handled.
    void unload(design::PageId id) override;
    SkinnedPage* loaded(design::PageId id) const;
    // Frees the pages unloaded since the last call; the message loop calls it.
    void collectUnloaded() { unloaded_.clear(); }

    void showMain() override;
    // What a button or a menu item does, as its design says; from is the page it is on.
    void run(const design::Action& action, std::optional<design::PageId> from = std::nullopt);

    // Ends the program at once, after the tray icon has been removed.
    std::function<void()> endProcess;

private:
    void openPage(design::PageId id, bool hidesMain) override;
    void hideToTray() override;
    void exitProgram() override;

    AppContext& context_;
    frmMain* main_ = nullptr;
    std::map<design::PageId, PageFactory> factories_;
    std::map<design::PageId, std::unique_ptr<SkinnedPage>> pages_;
    std::vector<std::unique_ptr<SkinnedPage>> unloaded_;
};

}  // namespace twk::win32
