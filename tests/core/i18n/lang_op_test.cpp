#include "core/i18n/lang_op.h"

#include <gtest/gtest.h>

#include "core/settings/main_op.h"
#include "support/system_text.h"
#include "support/temp_dir.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

class LangOpTest : public ::testing::Test {
protected:
    void language(const std::string& name, const std::string& content) {
        test::writeFile(program.file("languages/" + name + ".twl"), content);
    }

    test::TempDir program;
    test::TempRegistry store;
    MainOp settings{store.root(), program.path()};
    LangOp captions;
};

TEST_F(LangOpTest, TheChosenLanguageFillsEveryKeyFromItsSection) {
    language("Deutsch",
             "[frmMain]\nlfm_reports=Berichte\n[frmReport]\nlfr_save=Speichern\n"
             "[frmOptions]\nlfo_weekname=Mo;Di;\n[frmFeedback]\nlff_msg=\"Ihre Nachricht...\"\n");
    language("English", "[frmMain]\nlfm_reports=Reports\nlfm_options=Options\n");
    settings.lang = "Deutsch";
    captions.Init(settings);
    EXPECT_EQ(captions.lfm_reports, "Berichte");
    EXPECT_EQ(captions.lfr_save, "Speichern");
    EXPECT_EQ(captions.lfo_weekname, "Mo;Di;");
    EXPECT_EQ(captions.lff_msg, "Ihre Nachricht...");
    EXPECT_EQ(captions.lfm_options, "") << "no fallback to English for a missing key";
}

TEST_F(LangOpTest, MissingLanguageOrOneThatIsNoPlainFileNameFallsBackToEnglish) {
    language("English", "[frmMain]\nlfm_reports=Reports\n");
    language("sub/Deutsch", "[frmMain]\nlfm_reports=Berichte\n");
    test::writeFile(program.file("Outside.twl"), "[frmMain]\nlfm_reports=Outside\n");
    for (const char* name :
         {"Klingon", "../Outside", "sub/Deutsch", "sub\\Deutsch", "..", "sub/../sub/Deutsch"}) {
        settings.lang = name;
        captions.Init(settings);
        EXPECT_EQ(captions.lfm_reports, "Reports") << name;
        EXPECT_EQ(settings.lang, name) << "the setting itself stays";
    }
}

TEST_F(LangOpTest, NoLanguagesFolderLeavesTheTableAsItWas) {
    settings.lang = "English";
    captions.lfm_reports = "kept";
    captions.Init(settings);
    EXPECT_EQ(captions.lfm_reports, "kept");
    LangOp fresh;
    fresh.Init(settings);
    for (const LangOp::Key* key = LangOp::keysBegin(); key != LangOp::keysEnd(); ++key)
        EXPECT_EQ(fresh.*key->property, "") << key->name;
}

TEST_F(LangOpTest, AReloadReplacesEveryCaptionAndTheReportHookRunsAfterTheReportKeys) {
    language("English", "[frmReport]\nlfr_save=Save to disk\n[frmSendReport]\nlfsr_send=Send\n");
    language("Deutsch", "[frmReport]\nlfr_save=Speichern\n[frmSendReport]\nlfsr_send=Senden\n");
    std::vector<std::pair<std::string, std::string>> seen;
    captions.reportCaptionsHook = [&seen](const LangOp& table) {
        seen.emplace_back(table.lfr_save, table.lfsr_send);
    };
    settings.lang = "English";
    captions.Init(settings);
    settings.lang = "Deutsch";
    captions.Init(settings);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::pair<std::string, std::string>{"Save to disk", ""}));
    EXPECT_EQ(seen[1], (std::pair<std::string, std::string>{"Speichern", "Send"}))
        << "the hook sees the new report keys before the send-report keys are read";
    EXPECT_EQ(captions.lfsr_send, "Senden");
}

TEST_F(LangOpTest, DesignTextsComeFromTheirWindowsSectionsAndStayEnglishWhereMissing) {
    EXPECT_EQ(captions.lfi_version, "Version") << "before any language is loaded";
    language("Deutsch", "[frmInfo]\nlfi_version=Fassung\n[frmMain]\nlfi_tagline=misplaced\n");
    settings.lang = "Deutsch";
    captions.Init(settings);
    EXPECT_EQ(captions.lfi_version, "Fassung");
    EXPECT_EQ(captions.lfi_tagline, "USB storage protection") << "only its own section counts";
    EXPECT_EQ(captions.lfm_tagline, "USB storage protection");
}

TEST(SaveCaptionPlacementTest, MovesLeftBy130TwipsPerCharacterOrByItsWidthWhenThatIsWider) {
    EXPECT_EQ(saveCaptionLeft(8160, "Save to disk", 1230, 120), 8160 - 1560);
    EXPECT_EQ(saveCaptionLeft(8160, "", 0, 120), 8160) << "no caption, no gap";
    EXPECT_EQ(saveCaptionLeft(8160, test::systemText("Сохранить"), 0, 0), 8160 - 9 * 130)
        << "characters, not bytes";
    EXPECT_EQ(saveCaptionLeft(8160, test::systemText("Сохранить"), 1110, 120), 8160 - 1230)
        << "wide letters end the gap left of the send caption";
}

}  // namespace
}  // namespace twk
