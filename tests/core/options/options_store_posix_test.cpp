#include <gtest/gtest.h>

#include "core/i18n/lang_op.h"
#include "core/options/options_store.h"
#include "core/settings/main_op.h"
#include "support/read_only.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk::options {
namespace {

TEST(OptionsStorePosixTest, AStoreWithoutWriteAccessIsToldAndNotConfirmed) {
    test::TempDir store;
    Regedit::RootKey root{store.path()};
    MainOp settings{root, "/opt/tarnwick"};
    test::ScriptedHelperLibrary helper;
    test::ScriptedMessageBoxes boxes;
    settings.Init();
    ASSERT_TRUE(settings.Save());
    const std::string keyFile = root.keyFile(kSettingsKey);
    test::ReadOnlyFolder readOnly(keyFile.substr(0, keyFile.rfind('/')));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    OptionsState page = LoadOptions(settings, "Mon;Tue;Wed;", {"Deutsch", "English"});
    page.language = "Deutsch";
    EXPECT_EQ(SaveOptions(page, settings, helper, boxes, LangOp()), SaveResult::NotWritten);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The options could not be saved. Check that you may change the settings.");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(Regedit::GetString(root, kSettingsKey, "Language"), "English");
    EXPECT_EQ(settings.lang, "English") << "the settings hold the stored state again";
}

}  // namespace
}  // namespace twk::options
