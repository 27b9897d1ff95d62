#include "core/reports/report_problems.h"

#include <algorithm>

namespace twk {

std::string ProblemOfRead(const platform::FileRead& read) {
    return read.outcome == platform::FileRead::Outcome::Missing ? std::string() : read.problem();
}

std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems, const LangOp& texts) {
    if (problems.empty()) return {};
    std::string text = texts.lfr_problems;
    const std::size_t listed = std::min(problems.size(), kListedProblems);
    for (std::size_t i = 0; i < listed; ++i)
        text += "\n" + problems[i].path + " - " + problems[i].what;
    if (problems.size() > listed)
        text += "\n" + withValue(texts.lfr_more, std::to_string(problems.size() - listed));
    return text;
}

}  // namespace twk
