// The sample export of whole formats made for the shipped template Kite_Basic: applications
// 101 to 106 (headers allowed for 101, 102, 104, 105), block 10 with a block header, block 14
// without one, block 16 with two strings at most.
#include "preview/sample_export.h"

#include <gtest/gtest.h>

#include <string>

#include "document/doc_format.h"
#include "document/doc_test_env.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "library/text_encoding.h"

namespace {

using SampleExportTest = doctest::DocEnv;

// A line written three times, as the sample export writes a string without header.
std::string Three(const std::string& line) {
  return line + "\n" + line + "\n" + line + "\n";
}

TEST_F(SampleExportTest, WhatIsWrittenInWhichOrder) {
  struct Line {
    int id;  // kind, block (3 digits), index (3 digits); 13000AAA: header of application AAA
    const char* text;
    const char* apps = "";
    const char* variables = "";
  };
  const Line a1{13000101, "A1"}, a2{13000102, "A2"}, a4{13000104, "A4"}, bh{12010000, "BH"};
  const std::string failure = frt::Utf8ToGbk(frt::ResultText(frt::kNotFound));
  const struct {
    const char* name;
    std::vector<Line> lines;
    std::string expected;
  } cases[] = {
      {"nothing", {}, ""},
      {"file header and footer", {{15000000, "FOOT"}, {14000000, "HEAD"}}, "HEAD\nFOOT\n"},
      {"no headers", {{11014001, "L"}}, Three("L")},
      {"applications without header strings", {{11014001, "L", "103106"}}, Three("L")},
      {"each application header, then its lines",
       {a1, a2, {11014001, "L", "101102"}},
       "A1\n" + Three("L") + "A2\n" + Three("L")},
      {"a block header collects the lines after the application headers",
       {a1, a2, bh, {11010001, "L", "101102"}},
       "A1\nA2\nBH\n" + Three("L")},
      {"a block header alone", {a1, a2, bh, {11010001, "L", "103"}}, "BH\n" + Three("L")},
      // Block 14: 101 has its own string; of the rest 102 and 104 have headers. Block 16 starts
      // again from all six applications.
      {"default strings serve the applications without a string",
       {a2, a4, {11014001, "L", "101"}, {17014000, "D"}, {17016000, "E"}},
       Three("L") + "A2\n" + Three("D") + "A4\n" + Three("D") + "A2\n" + Three("E") + "A4\n" +
           Three("E")},
      {"an application's own string takes its header along",
       {a2, a4, {11014001, "L", "101"}, {11014002, "M", "102"}, {17014000, "D"}},
       Three("L") + "A2\n" + Three("M") + "A4\n" + Three("D")},
      {"default string without any header", {{17014000, "D"}}, Three("D")},
      {"default string after a block header",
       {{17014000, "D"}, bh, {17010000, "X"}},
       "BH\n" + Three("X") + Three("D")},
      {"only export strings of defined blocks within their count",
       {{21012001, "import"},
        {24012000, "import header"},
        {26012000, "restriction"},
        {11017001, "undefined block", "101"},
        {17050000, "undefined default"},
        {11016003, "beyond the count"}},
       ""},
      {"index order, not list order",
       {{11016002, "last"}, {11016001, "first"}},
       Three("first") + Three("last")},
      {"blocks in the template's order",
       {{11019001, "other"}, {11012001, "coordinates"}, {11010001, "measurement"}},
       Three("measurement") + Three("coordinates") + Three("other")},
      // Point number (code 1, default P1001) and east (code 51, 512345.678).
      {"sample values",
       {{11014001, "%-8.0s|%12.2lf", "", "100011001100209051"}},
       Three("P1001   |   512345.68")},
      {"a failure shows as its text",
       {{11014001, "%-8.0s|%12.2lf", "", "100011001"}},
       Three(failure)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CDocFormat format(context_);
    format.SetTemplate(KiteBasic());
    ASSERT_EQ(format.InitNew(), 1);
    for (const Line& l : c.lines)
      ASSERT_EQ(format.SetFormatString(l.id, l.text, l.variables, l.apps), 1) << l.id;
    EXPECT_EQ(SampleExport(format, *KiteBasic()), c.expected);
  }
}

}  // namespace
