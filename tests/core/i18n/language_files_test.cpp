#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/i18n/lang_op.h"
#include "platform/profile_string.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

// The loader reads at most this many characters of a value.
constexpr size_t kLoaderLimit = 254;

struct CaptionKey {
    const char* section;
    const char* key;
};

// Every caption the program reads, with the section it is read from.
constexpr CaptionKey kCaptionKeys[] = {
    {"frmOptions", "lfo_menu1"},     {"frmOptions", "lfo_menu2"},
    {"frmOptions", "lfo_lang"},      {"frmOptions", "lfo_save_rep"},
    {"frmOptions", "lfo_dir_rep"},   {"frmOptions", "lfo_dir_quar"},
    {"frmOptions", "lfo_strt_win"},  {"frmOptions", "lfo_save_changes"},
    {"frmOptions", "lfo_send_rep"},  {"frmOptions", "lfo_recip"},
    {"frmOptions", "lfo_shed"},      {"frmOptions", "lfo_ED"},
    {"frmOptions", "lfo_EW"},        {"frmOptions", "lfo_EM"},
    {"frmOptions", "lfo_time"},      {"frmOptions", "lfo_week"},
    {"frmOptions", "lfo_month"},     {"frmOptions", "lfo_weekname"},
    {"frmGuard", "lfg_pagename"},    {"frmGuard", "lfg_enableguard"},
    {"frmGuard", "lfg_notdevices"},  {"frmInfo", "lfi_homepage"},
    {"frmInfo", "lfi_mail"},         {"frmMain", "lfm_protection"},
    {"frmMain", "lfm_reports"},      {"frmMain", "lfm_options"},
    {"frmReport", "lfr_menu1"},      {"frmReport", "lfr_menu2"},
    {"frmReport", "lfr_sort"},       {"frmReport", "lfr_save"},
    {"frmReport", "lfr_send"},       {"frmSendReport", "lfsr_pagename"},
    {"frmSendReport", "lfsr_recip"}, {"frmSendReport", "lfsr_send"},
    {"frmFeedback", "lff_pagename"}, {"frmFeedback", "lff_sender"},
    {"frmFeedback", "lff_theme"},    {"frmFeedback", "lff_theme_text"},
    {"frmFeedback", "lff_msg"},      {"frmFeedback", "lff_send"},
    {"frmReport", "lfr_search"},
};

std::string shippedFile(const std::string& name) {
    return std::string(TWK_SOURCE_DIR) + "/resources/languages/" + name;
}

std::vector<std::string> splitWeekdays(const std::string& list) {
    std::vector<std::string> names;
    size_t start = 0;
    for (size_t end = list.find(';'); end != std::string::npos; end = list.find(';', start)) {
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool isUtf8(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 0x2) return false;
        i += length;
    }
    return true;
}

// The placeholders of text ("%1", "{name}"), in order of their names.
std::vector<std::string> placesOfValues(const std::string& text) {
    std::vector<std::string> places;
    for (std::size_t at = text.find_first_of("%{"); at != std::string::npos;
         at = text.find_first_of("%{", at + 1)) {
        if (text[at] == '%' && at + 1 < text.size() &&
            std::isdigit(static_cast<unsigned char>(text[at + 1])))
            places.push_back(text.substr(at, 2));
        if (const std::size_t close = text.find('}', at);
            text[at] == '{' && close != std::string::npos)
            places.push_back(text.substr(at, close - at + 1));
    }
    std::sort(places.begin(), places.end());
    return places;
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(test::exists(path)) << path << " is not shipped"; }

    std::string read(const CaptionKey& caption, size_t limit = kLoaderLimit) const {
        return platform::readProfileString(caption.section, caption.key, path, kLanguageFileLimit,
                                           limit);
    }

    const std::string path = shippedFile(GetParam());
};

TEST_P(ShippedLanguageFile, CarriesEveryCaptionWithinTheLoaderLimit) {
    for (const CaptionKey& caption : kCaptionKeys) {
        const std::string whole = read(caption, std::string::npos);
        EXPECT_FALSE(whole.empty()) << caption.section << "/" << caption.key << " is missing";
        EXPECT_LE(whole.size(), kLoaderLimit) << caption.key << " would be cut by the loader";
    }
}

// A text the file lacks shows in English; one that lost the place of its value loses the value.
TEST_P(ShippedLanguageFile, CarriesEveryOwnTextWithThePlaceOfItsValue) {
    const bool english = std::string(GetParam()) == "English.twl";
    for (const LangOp::OwnText& text : LangOp::ownTexts()) {
        const std::string value = read({text.section, text.name});
        if (english) {
            EXPECT_EQ(value, text.english) << text.name << " is not the program's English";
            continue;
        }
        EXPECT_FALSE(value.empty()) << text.section << "/" << text.name << " is missing";
        EXPECT_EQ(placesOfValues(value), placesOfValues(text.english))
            << text.name << ": " << value;
    }
}

TEST_P(ShippedLanguageFile, ListsSevenWeekdaysEachClosedBySemicolon) {
    const std::string list = read({"frmOptions", "lfo_weekname"});
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.back(), ';') << "the last name must be closed too: " << list;
    const std::vector<std::string> names = splitWeekdays(list);
    ASSERT_EQ(names.size(), 7u) << list;
    for (const std::string& name : names) EXPECT_FALSE(name.empty()) << list;
}

TEST_P(ShippedLanguageFile, IsUtf8TextWithCrLfLineEnds) {
    const std::string bytes = test::readFile(path);
    EXPECT_TRUE(isUtf8(bytes));
    for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageFile,
                         ::testing::Values("English.twl", "Deutsch.twl", "Russian.twl"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace twk
