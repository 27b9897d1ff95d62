#include "core/reports/report_problems.h"

namespace twk {

std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems) {
    if (problems.empty()) return {};
    std::string text = "Some reports could not be read:";
    for (const ReportProblem& problem : problems)
        text += "\n" + problem.path + " - " + problem.what;
    return text;
}

}  // namespace twk
