#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDocFormat;
class CFormatTemplate;
class CFrtString;

namespace workbench {

// Which import string is tried on which line, and in what order:
// - Every data line is read on its own: a line is a whole record. A string that needs more input
//   than the line holds does not match it.
// - The candidates are the import strings of the format with text: per import block type in the
//   template's order of import definitions (only the given block when one is chosen), first the
//   block's header string (kind 24), then its data strings (kind 21) by index. Strings of blocks
//   the template does not define and restriction strings (kind 26) read no line.
// - The first candidate that accepts the line wins: the whole string matched, or an s or c
//   conversion stopped it after a value was read (the rule of the library's input engine). What
//   follows on the line is ignored, as the engine ignores the rest of the record's line.
// - When none accepts it, the attempt that got furthest into the line (the first of equals) says
//   where reading stopped and what it expected there.
// Line ends: LF or CR LF; a Ctrl-Z at the end of a line (the old end-of-file mark) is dropped; a
// line that is then empty is blank and is not tried.

// One value read from a line. Names and texts are the bytes of the format and the data (GBK).
struct ScanValue {
  int code = 0;         // the variable code
  std::string name;     // the pool variable's name ("" when the pool has none)
  std::string text;     // the characters read
  char conversion = 0;  // d o x e f g s c
  bool isText = false;  // s and c: the value is `text`
  double number = 0.0;  // d o x (as an integer) and e f g
};

struct ScanLineResult {
  bool blank = false;
  bool matched = false;
  std::int32_t stringId = 0;  // the string that matched (kind * 1000000 + block * 1000 + index)
  int block = -1;
  std::vector<ScanValue> values;
  // When nothing matched: the column (from 1) where the furthest attempt stopped, and why
  // (e.g. `expected "SS,"`); the string that got there.
  std::size_t stopColumn = 0;
  std::string reason;
  std::int32_t bestStringId = 0;
};

// Reads lines with a format's import strings. Built once per format (and again after the format
// changes); Scan is then independent per line, so callers may scan any subset of lines in any
// order, and stop whenever they like. Scan only reads the format's import strings and keeps no
// state: several threads may scan with one scanner, as long as nobody changes the format then.
class DataScanner {
 public:
  // blockFilter < 0: every import block of the template.
  DataScanner(CDocFormat& format, const CFormatTemplate& formatTemplate, int blockFilter = -1);

  // The line without its line end (a trailing CR or LF is dropped anyway).
  ScanLineResult Scan(std::string_view line) const;
  // How many import strings take part: 0 means no line can match.
  std::size_t CandidateCount() const { return candidates_.size(); }
  // The variable codes the strings read, in the order they first appear among the candidates:
  // the columns of a records file written from the scan.
  const std::vector<int>& Codes() const { return codes_; }

 private:
  struct Candidate {
    const CFrtString* string = nullptr;
    std::int32_t id = 0;
    int block = 0;
    std::vector<std::string> names;  // pool name per variable of the string
  };
  std::vector<Candidate> candidates_;
  std::vector<int> codes_;
};

// Strips what ends a line: LF, CR, and Ctrl-Z marks.
std::string_view TrimLineEnd(std::string_view line);

// The lines of a data buffer (without line ends). A last line without a line end counts; a
// buffer that ends in a line end has no empty line after it.
std::vector<std::string_view> SplitLines(std::string_view buffer);

// Splits data fed in pieces into lines, with bounded memory: a line longer than kMaxLine bytes is
// handed over cut to kMaxLine (flag `cut`), and the rest of it is dropped.
class LineSplitter {
 public:
  static constexpr std::size_t kMaxLine = 64 * 1024;

  template <class Handler>  // Handler: void(std::string_view line, bool cut)
  void Feed(std::string_view bytes, Handler&& handler);
  template <class Handler>
  void Finish(Handler&& handler);

 private:
  std::string partial_;
  bool cut_ = false;
};

template <class Handler>
void LineSplitter::Feed(std::string_view bytes, Handler&& handler) {
  while (!bytes.empty()) {
    const std::size_t nl = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, nl);
    if (!cut_) {
      const std::size_t room = kMaxLine - partial_.size();
      partial_.append(piece.substr(0, room));
      if (piece.size() > room) cut_ = true;
    }
    if (nl == std::string_view::npos) return;
    handler(std::string_view(partial_), cut_);
    partial_.clear();
    cut_ = false;
    bytes.remove_prefix(nl + 1);
  }
}

template <class Handler>
void LineSplitter::Finish(Handler&& handler) {
  if (!partial_.empty() || cut_) handler(std::string_view(partial_), cut_);
  partial_.clear();
  cut_ = false;
}

}  // namespace workbench
