// The workbench over the shipped template Kite_Basic: records CSV, the data scanner's choice of
// import string per line, and the record exporter's search rules, scaling and errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/format_template_manager.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/text_encoding.h"
#include "shell/qv_workspace.h"
#include "temp_files.h"
#include "workbench/data_scanner.h"
#include "workbench/record_exporter.h"
#include "workbench/records_csv.h"

namespace {

using workbench::CsvReader;

// Variable code groups: options, unit code, unit type, data type, code.
const std::string kPoint = "100011001";    // point number, text
const std::string kHz = "100108021";       // horizontal angle, float, scaled
const std::string kHzPlain = "000108021";  // the same, not scaled
const std::string kEast = "100209051";     // east, double
const std::string kNorth = "100209052";    // north, double
const std::string kStation = "100011061";  // station point, text

class WorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CWorkspaceOptions options;
    options.locations.appDir = dir_ / "app";
    options.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    options.env = [](const char*) -> const char* { return nullptr; };
    options.usePool = false;
    ASSERT_TRUE(workspace_.Start(options));
    tpl_ = workspace_.Catalogue()->FindTemplate("Kite_Basic");
    ASSERT_NE(tpl_, nullptr);
    format_ = std::make_unique<CDocFormat>(workspace_.DocContext());
    format_->SetTemplate(tpl_);
    ASSERT_EQ(format_->InitNew(), 1);
  }
  void Put(int kind, int block, int index, const std::string& text, const std::string& variables,
           const std::string& apps = "") {
    ASSERT_EQ(
        format_->SetFormatString(CDocFormat::MakeId(kind, block, index), text, variables, apps), 1);
  }

  testfiles::TempDir dir_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  CQVWorkspace workspace_;
  const CFormatTemplate* tpl_ = nullptr;
  std::unique_ptr<CDocFormat> format_;
};

// Rows as "LINE:field|field" and errors as "LINE!error", fed whole and byte by byte.
std::vector<std::string> CsvRows(std::string_view input, bool byteWise) {
  std::vector<std::string> out;
  CsvReader reader([&](const std::vector<std::string>& fields, int row, const std::string& error) {
    if (!error.empty()) return out.push_back(std::to_string(row) + "!" + error);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "|" : "") + fields[i];
    out.push_back(std::to_string(row) + ":" + joined);
  });
  if (byteWise)
    for (const char c : input) reader.Feed(std::string_view(&c, 1));
  else
    reader.Feed(input);
  reader.Finish();
  return out;
}

TEST(CsvReaderTest, Rows) {
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> rows;
  } cases[] = {
      {"CR LF and no final line end", "a,b\r\nc,", {"1:a|b", "2:c|"}},
      {"byte order mark dropped",
       "\xEF\xBB\xBF"
       "block,x\n",
       {"1:block|x"}},
      {"a cut mark is data", "\xEF\xBBx\n", {"1:\xEF\xBBx"}},
      {"quotes, commas, doubled quotes", "\"a,b\",\"say \"\"hi\"\"\"\n", {"1:a,b|say \"hi\""}},
      {"a quoted field over lines", "\"x\r\ny\",1\nz\n", {"1:x\r\ny|1", "3:z"}},
      {"a lone CR is data", "a\rb\n", {"1:a\rb"}},
      {"text after a closing quote",
       "\"a\"b,c\nd\n",
       {"1!a character after a closing quote", "2:d"}},
      {"a quote never closed",
       "ok\n\"open,x\n",
       {"1:ok", "2!a quote not closed at the end of the input"}},
  };
  for (const auto& c : cases)
    for (const bool byteWise : {false, true})
      EXPECT_EQ(CsvRows(c.input, byteWise), c.rows) << c.name << (byteWise ? " (byte-wise)" : "");
}

TEST(CsvReaderTest, BoundsEndTheRowNotTheInput) {
  std::string wideRow;
  while (wideRow.size() <= CsvReader::kMaxRow) wideRow += std::string(999, 'x') + ',';
  const struct {
    std::string row;
    std::string error;
  } cases[] = {
      // A quote never closed stops taking bytes at the field's bound, not at the input's end.
      {"\"" + std::string(3 * CsvReader::kMaxField, 'q'), "field longer than 65536 bytes"},
      {wideRow, "row longer than 1048576 bytes"},
      {std::string(CsvReader::kMaxFields + 1, ','), "more than 4096 fields"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CsvRows(c.row + "\nnext\n", false),
              (std::vector<std::string>{"1!" + c.error, "2:next"}))
        << c.error;
}

TEST_F(WorkbenchTest, RecordsReaderHeadingsCellsAndBadRows) {
  const struct {
    const char* name;
    std::string csv;
    std::vector<std::string> records;  // "ROW:block code=text ..."
    std::vector<std::string> errors;   // "ROW:error"
  } cases[] = {
      {"names, codes, missing cells, bad rows",
       "block,点号,51\n10,P1,12.5\n\n12,,\nx,P2,1\n10,a,b,c\n",
       {"2:10 1=P1 51=12.5", "4:12"},
       {"5:block 'x' is not a block number (0 to 999)", "6:4 cells, but the header has 3 columns"}},
      {"first column not block",
       "blk,点号\n10,P1\n",
       {},
       {"1:the first column must be headed 'block'"}},
      {"unknown heading",
       "block,nope\n10,P1\n",
       {},
       {"1:column 2 'nope' names no variable of the template"}},
      {"a variable twice",
       "block,1,点号\n",
       {},
       {"1:column 3 '点号' names a variable a column before names"}},
      {"no header at all", "", {}, {"1:no header row"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> records, errors;
    workbench::RecordsReader reader(
        tpl_,
        [&](workbench::Record& r) {
          std::string s = std::to_string(r.row) + ":" + std::to_string(r.block);
          for (const auto& v : r.values) s += " " + std::to_string(v.code) + "=" + v.text;
          records.push_back(s);
        },
        [&](int row, const std::string& e) { errors.push_back(std::to_string(row) + ":" + e); });
    reader.Feed(c.csv);
    reader.Finish();
    EXPECT_EQ(records, c.records) << c.name;
    EXPECT_EQ(errors, c.errors) << c.name;
  }
}

TEST_F(WorkbenchTest, RecordsRoundTripThroughCsv) {
  // Cells are UTF-8, records hold GBK; a field with a comma or quote is quoted.
  workbench::Record record{10, {{1, frt::Utf8ToGbk("点,\"1\"")}, {51, "2.5"}}, 0};
  const std::vector<int> codes = {1, 2, 51};
  const std::string csv =
      workbench::RecordsHeader(tpl_, codes) + workbench::RecordRow(record, codes);
  EXPECT_EQ(csv, "block,点号,点编码,东坐标\r\n10,\"点,\"\"1\"\"\",,2.5\r\n");
  std::vector<workbench::RecordValue> back;
  workbench::RecordsReader reader(
      tpl_, [&](workbench::Record& r) { back = r.values; }, [](int, const std::string&) {});
  reader.Feed(csv);
  reader.Finish();
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].text, record.values[0].text);
  EXPECT_EQ(back[1].text, "2.5");
}

TEST_F(WorkbenchTest, ScannerChoosesTheStringPerLine) {
  // Block 12 (first in the template's import order): a header string, then two data strings;
  // block 10 (later in that order): one data string that would also read "C," lines.
  Put(24, 12, 0, "C,%s,%lf,%lf,%lf", kPoint + kEast + kNorth + "100209053");
  Put(21, 12, 1, "C,%s,%lf,%lf", kPoint + kEast + kNorth);
  Put(21, 12, 2, "C,%s,%lf", kPoint + kEast);
  Put(21, 10, 1, "C,%s,%f", kPoint + kHz);
  Put(21, 10, 2, "SS,%s,%f", kPoint + kHz);
  const struct {
    const char* line;
    int block;           // -1 all
    std::int32_t id;     // 0: no match
    std::string values;  // "code=text" of a match, or "COLUMN: reason" of the furthest attempt
  } cases[] = {
      {"C,P1,1,2,3", -1, 24012000, "1=P1 51=1 52=2 53=3"},  // header first
      {"C,P1,1,2\r\n", -1, 21012001, "1=P1 51=1 52=2"},     // header too short
      {"C,P1,1.5,x", -1, 21012002, "1=P1 51=1.5"},          // rest of the line ignored
      {"C,P1,1.5", 10, 21010001, "1=P1 21=1.5"},            // only block 10
      {"SS,7,0.25\x1a", -1, 21010002, "1=7 21=0.25"},
      {"SS;7", -1, 0, "3: expected \",\""},
      {"C,P1,abc", -1, 0, "6: expected a number (%lf)"},
      {"X", -1, 0, "1: expected \"C,\""},
      {"C,P1", -1, 0, "5: line ended, expected \",\""},
      {"SS,7,0.25", 12, 0, "1: expected \"C,\""},
  };
  for (const auto& c : cases) {
    const workbench::DataScanner scanner(*format_, *tpl_, c.block);
    const workbench::ScanLineResult r = scanner.Scan(c.line);
    std::string values;
    if (r.matched) {
      for (const auto& v : r.values)
        values += (values.empty() ? "" : " ") + std::to_string(v.code) + "=" + v.text;
    } else {
      values = std::to_string(r.stopColumn) + ": " + r.reason;
    }
    EXPECT_EQ(r.matched ? r.stringId : 0, c.id) << c.line;
    EXPECT_EQ(values, c.values) << c.line;
    if (r.matched) {
      EXPECT_EQ(r.block, c.id / 1000 % 1000) << c.line;
    }
  }
  // Values: numbers for numeric conversions, texts for s.
  const auto r = workbench::DataScanner(*format_, *tpl_).Scan("SS,P9,-1.5e2");
  ASSERT_EQ(r.values.size(), 2u);
  EXPECT_TRUE(r.values[0].isText);
  EXPECT_FALSE(r.values[1].isText);
  EXPECT_DOUBLE_EQ(r.values[1].number, -150.0);
  EXPECT_EQ(r.values[1].name, tpl_->FindPoolVariable(21)->Name());
}

TEST(DataLinesTest, OddEndings) {
  const struct {
    std::string buffer;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\n\nc\x1a", {"a", "b", "", "c"}},
      {"a\n", {"a"}},
      {"\x1a", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> split, fed;
    for (const auto line : workbench::SplitLines(c.buffer)) split.emplace_back(line);
    workbench::LineSplitter splitter;
    const auto take = [&](std::string_view line, bool) {
      fed.emplace_back(workbench::TrimLineEnd(line));
    };
    for (const char ch : c.buffer) splitter.Feed(std::string_view(&ch, 1), take);
    splitter.Finish(take);
    EXPECT_EQ(split, c.lines) << c.buffer;
    EXPECT_EQ(fed, c.lines) << c.buffer;
  }
  // A line longer than the bound is handed over cut, and the next line is whole.
  std::vector<std::pair<std::size_t, bool>> seen;
  workbench::LineSplitter splitter;
  const auto take = [&](std::string_view line, bool cut) { seen.emplace_back(line.size(), cut); };
  splitter.Feed(std::string(workbench::LineSplitter::kMaxLine + 5, 'x') + "\nok", take);
  splitter.Finish(take);
  EXPECT_EQ(seen, (std::vector<std::pair<std::size_t, bool>>{
                      {workbench::LineSplitter::kMaxLine, true}, {2, false}}));
}

TEST_F(WorkbenchTest, ExporterFollowsTheSearchRules) {
  ASSERT_EQ(format_->SetFileHeader("&W", "2"), 1);
  Put(14, 0, 0, "H", "");
  Put(15, 0, 0, "F", "");
  ASSERT_EQ(format_->SetFormatString(CDocFormat::kApplicationHeaderKind + 101, "A101", "", ""), 1);
  Put(12, 10, 0, "BH10", "");
  Put(11, 10, 1, "S %.0s %.2f %.2f", kPoint + kHz + kHzPlain, "101");
  Put(17, 10, 0, "D %.0s", kPoint);
  Put(11, 11, 1, "ST %.0s", kStation, "101");
  const std::vector<workbench::Record> records = {
      {10, {{1, "P1"}, {21, "1.5"}}, 2},
      {10, {{1, "P2"}}, 3},
      {11, {{61, "S1"}}, 4},
      {10, {{1, "P3"}, {21, "abc"}}, 5},
      {10, {{1, "P4"}, {21, "0.25"}}, 6},
      {99, {}, 7},
  };
  const struct {
    int application;
    std::string out;
    std::vector<std::string> errors;
  } cases[] = {
      {0,
       "H\nA101\nBH10\nS P1 3.00 1.50\nS P2 -9999.999 -9999.999\nST S1\nBH10\nS P4 0.50 0.25\nF\n",
       {"5:variable 21: 'abc' is not a number", "7:block 99 is no export block of the template"}},
      // 102 has no string of its own in block 10 (the default string stands in) nor in 11.
      {102,
       "H\nBH10\nD P1\nD P2\nBH10\nD P3\nD P4\nF\n",
       {"4:block 11 has no string for application 102",
        "7:block 99 is no export block of the template"}},
  };
  for (const auto& c : cases) {
    workbench::RecordExporter exporter(*format_, *tpl_);
    std::string out;
    std::vector<std::string> errors;
    const auto take = [&](const workbench::ExportPiece& p, int row) {
      out += p.text;
      if (!p.Ok()) errors.push_back(std::to_string(row) + ":" + p.error);
    };
    take(exporter.Begin(c.application), 0);
    for (const auto& r : records) take(exporter.Record(r), r.row);
    take(exporter.End(), 0);
    EXPECT_EQ(out, c.out) << c.application;
    EXPECT_EQ(errors, c.errors) << c.application;
  }
  EXPECT_FALSE(workbench::RecordExporter(*format_, *tpl_).Begin(999).Ok());
}

}  // namespace
