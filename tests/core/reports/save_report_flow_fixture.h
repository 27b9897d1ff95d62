#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/save_report_flow.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk::test {

// The "Save to disk" flow with a scripted dialog and boxes and a writer that records its calls.
class SaveReportFlowFixture : public ::testing::Test {
protected:
    // Writes "new" and records each path together with whether a file was there at the call.
    void save() {
        SaveReportAs(
            dialog, boxes,
            [this](const std::string& fileName) {
                written.push_back(fileName);
                existedBefore.push_back(test::exists(fileName));
                writeFile(fileName, "new");
                return writerAnswer;
            },
            LangOp());
    }

    TempDir dir;
    ScriptedSaveFileDialog dialog;
    ScriptedMessageBoxes boxes;
    bool writerAnswer = true;
    std::vector<std::string> written;
    std::vector<bool> existedBefore;
};

}  // namespace twk::test
