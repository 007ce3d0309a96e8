#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CFormatTemplate;

namespace workbench {

// One value of a record: a variable code and its text as the format's bytes (GBK; the CSV cell
// is UTF-8). Never empty: an empty cell is a missing value and is left out.
struct RecordValue {
  int code = 0;
  std::string text;
};

// One block's worth of data: the block type and a value per variable that has one. `row` is the
// line of the records file the record starts on (from 1), 0 for a record made elsewhere.
struct Record {
  int block = 0;
  std::vector<RecordValue> values;
  int row = 0;

  // The text of the variable's value, or nullptr when the record has none.
  const std::string* Find(int code) const;
};

// Splits RFC 4180 text into rows, fed in pieces of any size: fields separated by commas, rows by
// CR LF or LF, a field in double quotes may hold commas, line ends and "" for one quote. A UTF-8
// byte order mark at the very start is dropped. Memory stays bounded whatever the input: a field
// longer than kMaxField bytes, a row longer than kMaxRow bytes or with more than kMaxFields fields
// is an error of that row (a quote never closed thus ends at kMaxRow bytes, not at the end of the
// input); the rest of the bad row is skipped up to its line end and reading goes on.
class CsvReader {
 public:
  static constexpr std::size_t kMaxField = 64 * 1024;
  static constexpr std::size_t kMaxRow = 1024 * 1024;
  static constexpr std::size_t kMaxFields = 4096;

  // `fields` and `row` (the line the row starts on, from 1) are valid during the call; `error`
  // is empty for a good row, else says what is wrong with it (fields then holds what was read).
  using RowHandler = std::function<void(const std::vector<std::string>& fields, int row,
                                        const std::string& error)>;

  explicit CsvReader(RowHandler handler) : handler_(std::move(handler)) {}

  void Feed(std::string_view bytes);
  // Ends the input: a last row without a line end is handed over (an open quote is an error).
  void Finish();

 private:
  void Byte(char c);
  void EndField();
  void EndRow();
  void Fail(std::string error);

  enum class State { kStart, kField, kQuoted, kQuoteInQuoted, kSkip };
  RowHandler handler_;
  State state_ = State::kStart;
  std::vector<std::string> fields_;
  std::size_t used_ = 0;  // fields of the current row
  std::string field_;
  std::string error_;
  std::size_t rowBytes_ = 0;
  int line_ = 1;     // the line being read
  int rowLine_ = 1;  // the line the current row started on
  bool atStart_ = true;
  bool pendingCr_ = false;
  std::size_t bomMatched_ = 0;
};

// Reads a records CSV: a header row (first column `block`, then a column per variable headed by
// the pool variable's name or by its code) and a record per row. Rows that are empty are skipped.
// A row with a fault (block not a number, more cells than columns, a CSV fault) is reported by
// its line and left out; a fault of the header row ends the reading.
class RecordsReader {
 public:
  using RecordHandler = std::function<void(Record& record)>;
  // `row` is the line of the file; `error` the text of the fault, without the row.
  using ErrorHandler = std::function<void(int row, const std::string& error)>;

  // The template names the variables (its pool, through its definitions' allowed variables).
  RecordsReader(const CFormatTemplate* formatTemplate, RecordHandler onRecord,
                ErrorHandler onError);

  void Feed(std::string_view bytes);
  void Finish();
  // False once the header row failed: nothing more is read.
  bool HeaderOk() const { return headerOk_; }
  // The variable code of each column after `block`.
  const std::vector<int>& Codes() const { return codes_; }

 private:
  void Row(const std::vector<std::string>& fields, int row, const std::string& error);
  bool Header(const std::vector<std::string>& fields, int row);

  const CFormatTemplate* template_;
  RecordHandler onRecord_;
  ErrorHandler onError_;
  CsvReader csv_;
  bool seenHeader_ = false;
  bool headerOk_ = true;
  std::vector<int> codes_;
  Record record_;
};

// The variable code of a column heading: a pool variable's name, or its code in digits; -1 when
// it names neither.
int CodeOfHeading(const CFormatTemplate* formatTemplate, std::string_view heading);

// One CSV field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line end.
void AppendCsvField(std::string& out, std::string_view text);

// Writes records as CSV with a fixed set of columns (codes), headed `block` and each variable's
// pool name (its code when the pool has no name for it). Rows end in CR LF as RFC 4180 asks.
std::string RecordsHeader(const CFormatTemplate* formatTemplate, const std::vector<int>& codes);
std::string RecordRow(const Record& record, const std::vector<int>& codes);

}  // namespace workbench
