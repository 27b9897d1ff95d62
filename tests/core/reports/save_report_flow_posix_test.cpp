#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/save_report_flow.h"
#include "core/reports/save_report_flow_fixture.h"
#include "support/read_only.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using SaveReportFlowPosixTest = test::SaveReportFlowFixture;

TEST_F(SaveReportFlowPosixTest, FileThatCannotBeDeletedIsKeptAndReported) {
    dialog.answer = test::writeFile(dir.file("locked/old.csv"), "old");
    test::ReadOnlyFolder readOnly(dir.file("locked"));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    boxes.answers = {MsgAnswer::Ok};
    save();
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(test::readFile(dialog.answer), "old");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "The existing file could not be replaced:\n" + dialog.answer);
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace twk
