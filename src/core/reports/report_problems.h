#pragma once

#include <string>
#include <vector>

namespace twk {

// A report file or folder that a load had to pass over, and what went wrong with it.
struct ReportProblem {
    std::string path;
    std::string what;
};

// The one message shown after a refresh that met problems: a heading and one line per
// problem. Empty when there were none, so the page shows no box.
std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems);

}  // namespace twk
