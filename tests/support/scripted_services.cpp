#include "support/scripted_services.h"

#include <algorithm>

#include "support/temp_dir.h"

namespace twk::test {

MsgAnswer ScriptedMessageBoxes::show(const std::string& text, const std::string& title,
                                     MsgIcon icon, MsgButtons buttons) {
    shown.push_back({text, title, icon, buttons});
    if (whileShown) whileShown();
    if (answers.empty()) return MsgAnswer::Ok;
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string ScriptedSaveFileDialog::askSaveFile(const std::string& filterName,
                                                const std::string& pattern,
                                                const std::string& startFolder) {
    ++asked;
    lastFilterName = filterName;
    lastPattern = pattern;
    lastStartFolder = startFolder;
    return answer;
}

std::string ScriptedFolderPicker::browseFolder(const std::string& title) {
    titles.push_back(title);
    return answer;
}

std::int16_t ScriptedHelperLibrary::SendMailOut(const std::string& recipient,
                                                const std::string& subject, const std::string& body,
                                                const std::string& attachment) {
    sent.push_back({recipient, subject, body, attachment,
                    attachment.empty() ? std::string() : readFile(attachment)});
    return mailResult;
}

std::int16_t ScriptedHelperLibrary::GetDriveInfoByPath(std::string& root, std::string& buffer) {
    describedRoots.push_back(root);
    for (const auto& [known, answer] : drives) {
        if (known != root) continue;
        if (answer.result == 1) {
            const size_t length = std::min(answer.description.size(), buffer.size() - 1);
            answer.description.copy(buffer.data(), length);
            buffer[length] = '\0';
        }
        return answer.result;
    }
    return 0;
}

}  // namespace twk::test
