#include "core/reports/report_record.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

TEST(ReportRecordTest, VirusLineFillsFieldsInOrderAndLeavesMissingOnesEmpty) {
    const VirusRecord record = ParseVirusLine("A;B;11.01.2013 19:52:21;Deleted");
    EXPECT_EQ(record.PC, "A");
    EXPECT_EQ(record.User, "B");
    EXPECT_EQ(record.Time, "11.01.2013 19:52:21");
    EXPECT_EQ(record.Action, "Deleted");
    EXPECT_EQ(record.SourcePath, "");
    EXPECT_EQ(record.DestinationPath, "");
    EXPECT_EQ(record.Device, "");
    EXPECT_EQ(record.Date, "11.01.2013");
}

TEST(ReportRecordTest, FieldsBeyondTheKindsCountAreDropped) {
    const VirusRecord seven = ParseVirusLine("1;2;3;4;5;6;7");
    EXPECT_EQ(seven.SourcePath, "5");
    EXPECT_EQ(seven.DestinationPath, "6");
    EXPECT_EQ(seven.Device, "7");
    EXPECT_EQ(ParseVirusLine("1;2;3;4;5;6;7;8;9").Device, "7");
    EXPECT_EQ(ParseVirusLine("1;2;3;4;5;6").Device, "");

    EXPECT_EQ(ParseDeviceLine("1;2;3;4;5;6;7;8;9;10;11;12;13;14").Serial, "12");
    const DeviceRecord eleven = ParseDeviceLine("1;2;3;4;5;6;7;8;9;10;11");
    EXPECT_EQ(eleven.Manufacturer, "11");
    EXPECT_EQ(eleven.Serial, "");
}

TEST(ReportRecordTest, DeviceLineMapsEveryFieldByItsPlaceInTheFile) {
    const DeviceRecord r = ParseDeviceLine(
        "PC1;ann;12.01.2013 08:00:01;Connect;Stick;USB\\PATH;Mass storage;USBSTOR;USB;"
        "HW-1;Maker;SN-9");
    EXPECT_EQ(r.PC, "PC1");
    EXPECT_EQ(r.User, "ann");
    EXPECT_EQ(r.Time, "12.01.2013 08:00:01");
    EXPECT_EQ(r.Function, "Connect");
    EXPECT_EQ(r.Name, "Stick");
    EXPECT_EQ(r.Path, "USB\\PATH");
    EXPECT_EQ(r.Description, "Mass storage");
    EXPECT_EQ(r.Service, "USBSTOR");
    EXPECT_EQ(r.Enumerator, "USB");
    EXPECT_EQ(r.HardwareId, "HW-1");
    EXPECT_EQ(r.Manufacturer, "Maker");
    EXPECT_EQ(r.Serial, "SN-9");
    EXPECT_EQ(r.Date, "12.01.2013");
}

TEST(ReportRecordTest, LinesWithoutSeparatorsOrWithEmptyFieldsKeepTheirText) {
    EXPECT_EQ(ParseVirusLine("just some text").PC, "just some text");
    EXPECT_EQ(ParseVirusLine("just some text").User, "");

    const DeviceRecord empty = ParseDeviceLine("");
    EXPECT_EQ(empty.PC, "");
    EXPECT_EQ(empty.Serial, "");
    EXPECT_EQ(empty.Date, "");

    const VirusRecord spaced = ParseVirusLine(" a ;;b;");
    EXPECT_EQ(spaced.PC, " a ");
    EXPECT_EQ(spaced.User, "");
    EXPECT_EQ(spaced.Time, "b");
    EXPECT_EQ(spaced.Action, "");
}

TEST(ReportRecordTest, DateIsTheTimeBeforeItsFirstSpaceAndEmptyWithoutOne) {
    EXPECT_EQ(ParseVirusLine("a;b;11.01.2013").Date, "");
    EXPECT_EQ(ParseVirusLine("a;b;11.01.2013 19:52 x").Date, "11.01.2013");
    EXPECT_EQ(ParseVirusLine("a;b; 19:52").Date, "");
    EXPECT_EQ(DateOfTime("2013-01-11 19:52"), "2013-01-11");
}

TEST(ReportRecordTest, LineAtStopsBeforeTheLineEndAndDropsOnlyAClosingCr) {
    const std::string_view text = "one\r\ntw\ro\nlast\r";
    EXPECT_EQ(LineAt(text, 0), "one");
    EXPECT_EQ(LineAt(text, 5), "tw\ro");
    EXPECT_EQ(LineAt(text, 10), "last");
    EXPECT_EQ(LineAt("\r\n", 0), "");
}

TEST(ReportRecordTest, FieldAtGivesTheFieldOfTheSplitLine) {
    const std::string_view text = "a;b\r;c\r\n;\r\nlast;x\r";
    const struct {
        std::size_t start, field;
        std::string_view expected;
    } cases[] = {{0, 0, "a"}, {0, 1, "b\r"}, {0, 2, "c"},     {0, 3, ""}, {8, 0, ""},
                 {8, 1, ""},  {11, 1, "x"},  {11, 0, "last"}, {11, 2, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(FieldAt(text, c.start, c.field), c.expected) << c.start << " " << c.field;
        EXPECT_EQ(FieldAt(text, c.start, c.field),
                  SplitReportLine(LineAt(text, c.start), c.field + 1)[c.field]);
    }
}

}  // namespace
}  // namespace twk
