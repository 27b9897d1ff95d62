#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/i18n/lang_op.h"
#include "platform/files.h"

namespace twk {

// A report file or folder that a load had to pass over, and what went wrong with it.
struct ReportProblem {
    std::string path;
    std::string what;
};

// What the problems message says about a file that could not be read; empty for a file that
// is no problem: one moved away since the listing (its records show in its new folder at the
// next refresh).
std::string ProblemOfRead(const platform::FileRead& read);

// The message names at most this many problems: a folder of thousands of unreadable files must
// not make a box taller than the screen.
inline constexpr std::size_t kListedProblems = 10;

// The one message shown after a refresh that met problems: a heading and one line per
// problem, the first kListedProblems of them, then how many more there were. Empty when there
// were none, so the page shows no box. Its own words are those of texts.
std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems, const LangOp& texts);

}  // namespace twk
