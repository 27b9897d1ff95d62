#include "core/reports/report_problems.h"

#include <algorithm>

namespace twk {
namespace {

std::string causeOf(int error, const LangOp& texts) {
    if (platform::causeOf(error) == platform::ErrorCause::NoPermission) return texts.lfr_denied;
    return platform::systemReason(error);
}

}  // namespace

std::string ReportProblem::what(const LangOp& texts) const {
    switch (kind) {
        case Kind::NotRegular:
            return texts.lfr_notregular;
        case Kind::TooLarge:
            return texts.lfr_toolarge;
        case Kind::NotOpened:
            return FillIn(texts.lfr_notopened, {{"1", causeOf(error, texts)}});
        case Kind::NotRead:
            return FillIn(texts.lfr_notread, {{"1", causeOf(error, texts)}});
        case Kind::FolderNotCreated:
            return texts.lfr_nofolder;
        case Kind::FolderNameTooLong:
            return texts.lfr_nofolder_long;
        case Kind::FolderInSystemFolder:
            return texts.lfr_nofolder_system;
        case Kind::FolderNotRead:
            return texts.lfr_folder_unread;
    }
    return {};
}

std::optional<ReportProblem> ProblemOfRead(const std::string& path,
                                           const platform::FileRead& read) {
    using Outcome = platform::FileRead::Outcome;
    switch (read.outcome) {
        case Outcome::Read:
        case Outcome::Missing:
            return std::nullopt;
        case Outcome::NotRegular:
            return ReportProblem{path, ReportProblem::Kind::NotRegular};
        case Outcome::TooLarge:
            return ReportProblem{path, ReportProblem::Kind::TooLarge};
        case Outcome::OpenFailed:
            return ReportProblem{path, ReportProblem::Kind::NotOpened, read.error};
        case Outcome::ReadFailed:
            return ReportProblem{path, ReportProblem::Kind::NotRead, read.error};
    }
    return std::nullopt;
}

std::string ReportProblemsMessage(const std::vector<ReportProblem>& problems, const LangOp& texts) {
    if (problems.empty()) return {};
    std::string text = texts.lfr_problems;
    const std::size_t listed = std::min(problems.size(), kListedProblems);
    for (std::size_t i = 0; i < listed; ++i)
        text += "\n" + problems[i].path + " - " + problems[i].what(texts);
    if (problems.size() > listed)
        text += "\n" + FillIn(texts.lfr_more, {{"1", std::to_string(problems.size() - listed)}});
    return text;
}

}  // namespace twk
