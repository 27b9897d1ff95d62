// A language file as a careless edit may leave it: every caption is loaded from it, the
// English fallback included.
#include <algorithm>
#include <string>

#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "fuzz_support.h"

namespace {

// Every caption is one INI value: at most 254 bytes, a single line.
void checkCaptions(const twk::LangOp& captions) {
    for (auto key = twk::LangOp::keysBegin(); key != twk::LangOp::keysEnd(); ++key) {
        const std::string& caption = captions.*key->property;
        FUZZ_CHECK(caption.size() <= 254);
        FUZZ_CHECK(caption.find('\n') == std::string::npos);
    }
}

// Whatever placeholders a text holds, filling it in ends, keeps a text without values as it is,
// and puts each value in at most once per placeholder: values are never filled in themselves.
void checkFillingIn(const twk::LangOp& captions) {
    for (const twk::LangOp::OwnText& own : twk::LangOp::ownTexts()) {
        const std::string& text = captions.*own.property;
        FUZZ_CHECK(twk::FillIn(text, {}) == text);
        const std::string filled = twk::FillIn(text, {{"1", "{name}"}, {"name", "%1%1"}});
        FUZZ_CHECK(filled.size() <= 3 * text.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string program = twk::fuzz::scratchPath("program");
    const std::string file = twk::languagesFolder(program) + "/English.twl";
    twk::fuzz::writeBytes(file, text);

    twk::LangOp captions;
    bool hookRan = false;
    captions.reportCaptionsHook = [&](const twk::LangOp& loaded) {
        hookRan = true;
        // The report page takes its captions before the later sections are read.
        FUZZ_CHECK(loaded.lfsr_pagename.empty() && loaded.lff_send.empty());
        (void)twk::saveCaptionLeft(
            9000, loaded.lfr_save,
            static_cast<int>(std::min<std::size_t>(loaded.lfr_save.size(), 1 << 20)) * 120, 60);
    };
    captions.LoadCaptions(file);
    FUZZ_CHECK(hookRan);
    checkCaptions(captions);
    checkFillingIn(captions);

    // A language without a file falls back to the same English file.
    twk::MainOp settings(twk::Regedit::RootKey(twk::fuzz::scratchPath("store")), program);
    settings.lang = "Missing";
    twk::LangOp fallback;
    fallback.Init(settings);
    for (auto key = twk::LangOp::keysBegin(); key != twk::LangOp::keysEnd(); ++key)
        FUZZ_CHECK(fallback.*key->property == captions.*key->property);
    return 0;
}
