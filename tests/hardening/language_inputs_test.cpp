// Language files as a careless edit leaves them: the captions take what the file says by the
// profile rules, everything else is empty, and loading always ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

class LanguageInputsTest : public ::testing::Test {
protected:
    // Loads the language file with this content as the chosen language.
    void load(const std::string& content) {
        test::writeFile(program.file("languages/Edited.twl"), content);
        settings.lang = "Edited";
        captions.Init(settings);
    }
    bool allEmpty() const {
        for (auto key = LangOp::keysBegin(); key != LangOp::keysEnd(); ++key)
            if (!(captions.*key->property).empty()) return false;
        return true;
    }

    test::TempDir program, store;
    MainOp settings{Regedit::RootKey(store.path()), program.path()};
    LangOp captions;
};

TEST_F(LanguageInputsTest, BinaryFileGivesEmptyCaptionsAndBytesInsideAValueAreKept) {
    std::string binary;
    for (int i = 0; i < 65536; ++i) binary += static_cast<char>((i * 31 + 7) % 256);
    load(binary);
    EXPECT_TRUE(allEmpty());

    const std::string value("Re\0\xff\x01ports", 9);
    load(binary + "\n[frmMain]\nlfm_reports=" + value + "\n" + binary);
    EXPECT_EQ(captions.lfm_reports, value);
}

TEST_F(LanguageInputsTest, EmptyFileGivesEmptyCaptionsWithoutFallingBackToEnglish) {
    test::writeFile(program.file("languages/English.twl"), "[frmMain]\nlfm_reports=Reports\n");
    load("");
    EXPECT_TRUE(allEmpty());
}

TEST_F(LanguageInputsTest, DuplicateSectionsAndKeysTakeTheFirst) {
    load(
        "[frmMain]\nlfm_reports=First\nlfm_reports=Second\n"
        "[frmReport]\nlfr_save=Save\n"
        "[FRMMAIN]\nlfm_reports=Third\nlfm_options=Only in the second section\n");
    EXPECT_EQ(captions.lfm_reports, "First");
    EXPECT_EQ(captions.lfm_options, "") << "only the first section of a name counts";
    EXPECT_EQ(captions.lfr_save, "Save");
}

TEST_F(LanguageInputsTest, TenMegabyteValueIsCutTo254Bytes) {
    const std::string huge(10u << 20, 'v');
    load("[frmMain]\nlfm_reports=" + huge + "\nlfm_options=Options\n[frmReport]\nlfr_save=" + huge +
         "\n");
    EXPECT_EQ(captions.lfm_reports, std::string(254, 'v'));
    EXPECT_EQ(captions.lfm_options, "Options");
    EXPECT_EQ(captions.lfr_save, std::string(254, 'v'));
    EXPECT_EQ(saveCaptionLeft(9000, captions.lfr_save, 0, 0), 9000 - 130 * 254);
}

TEST_F(LanguageInputsTest,
       LanguageFileThatIsAFolderFallsBackToEnglishAndAnEnglishFolderReadsEmpty) {
    std::filesystem::create_directories(program.file("languages/Edited.twl"));
    test::writeFile(program.file("languages/English.twl"), "[frmMain]\nlfm_reports=Reports\n");
    settings.lang = "Edited";
    captions.Init(settings);
    EXPECT_EQ(captions.lfm_reports, "Reports");

    std::filesystem::remove(program.file("languages/English.twl"));
    std::filesystem::create_directories(program.file("languages/English.twl"));
    captions.Init(settings);
    EXPECT_TRUE(allEmpty());
}

}  // namespace
}  // namespace twk
