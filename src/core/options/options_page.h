#pragma once

#include "core/app/waiting.h"
#include "core/options/options_state.h"

namespace twk {
class AppContext;
}

namespace twk::options {

// The options page's steps, whatever draws it: each page layer's page derives from it and draws
// the state these steps leave.
class OptionsPage {
public:
    virtual ~OptionsPage() = default;

    // The page opens on the General tab, its controls first as designed, then the stored options.
    void Form_Load();
    // The stored options, shown.
    void LoadOptions();
    // Checks the page and stores it. Once stored, the program takes the new settings and captions
    // and the page hands over to the main window; a save that wrote nothing shows the stored
    // options again.
    void SaveOptions();

protected:
    // Every mail a save sends is waited for by run.
    OptionsPage(AppContext& app, WaitRunner run) : app_(app), run_(run) {}

    // The toggles, radios and which controls take input.
    virtual void showState() = 0;
    // The lists and the boxes' texts.
    virtual void showTexts() = 0;
    virtual void ShowGeneralTab() = 0;
    virtual void ApplyCaptions() = 0;
    // After a save: the page goes, the main window loads afresh and shows.
    virtual void closeSaved() = 0;

    OptionsState state_;

private:
    AppContext& app_;
    WaitRunner run_;
};

}  // namespace twk::options
