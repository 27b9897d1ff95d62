#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/i18n/lang_op.h"
#include "platform/files.h"

namespace twk {

// A report file or folder that a load had to pass over, and what went wrong with it.
struct ReportProblem {
    enum class Kind {
        NotRegular,
        TooLarge,
        NotOpened,  // error tells why
        NotRead,    // error tells why
        FolderNotCreated,
        FolderNameTooLong,
        FolderInSystemFolder,
        FolderNotRead,
    };
    std::string path;
    Kind kind = Kind::NotRead;
    int error = 0;  // the system's error number of NotOpened and NotRead

    // What went wrong, to follow the path, in the words of texts: the system's own words only
    // for a cause the program has no words of its own for.
    std::string what(const LangOp& texts) const;
    // The same in English, as the journal has it.
    std::string what() const { return what(EnglishTexts()); }
};

// The problem of a file at path that could not be read; none for a file that is no problem: one
// moved away since the listing (its records show in its new folder at the next refresh).
std::optional<ReportProblem> ProblemOfRead(const std::string& path, const platform::FileRead& read);

// The message names at most this many problems: a folder of thousands of unreadable files must
// not make a box taller than the screen.
inline constexpr std::size_t kListedProblems = 10;

// The one message shown after a refresh that met problems: a heading and one line per
// problem, the first kListedProblems of them, then how many more there were. Empty when there
// were none, so the page shows no box. Its own words are those of texts.
std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems, const LangOp& texts);

}  // namespace twk
