#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "frt_result.h"
#include "frt_value_source.h"

class CFrtFile;
class CFrtString;

namespace frt {

// How one run of an import string over some input ended.
enum class ScanOutcome {
  kComplete,    // the whole import string was matched
  kMismatch,    // a literal differed, or a number had no digits
  kShort,       // the input ran out before the import string did
  kStopped,     // an s or c conversion read nothing
  kNoVariable,  // an assigning conversion found no variable left: the input has ended
};

// A value read by one conversion, waiting to be handed over when its record is accepted.
struct ScanValue {
  int variable = 0;  // index in the string's variable list
  CFrtInputValue value;
};

struct ScanRun {
  ScanOutcome outcome = ScanOutcome::kComplete;
  std::size_t position = 0;  // input characters used
  std::size_t textPosition = 0;  // where in the import string it ended: a literal, or a '%'
  bool matched = false;      // a conversion read its value and no literal failed
};

// Runs one import string over `input`. Values go to `values` (appended; their texts point into
// `input`). Pure: neither the string nor a value source is touched.
ScanRun ScanImport(std::string_view importText, std::size_t variableCount, std::string_view input,
                   std::vector<ScanValue>& values);

// Runs one import string on one line, the line being the whole record, and hands the values to
// the sink when the record is accepted. Result: 1 accepted (the whole string matched, or an s or
// c conversion stopped it after a value was read), 27 mismatch, 24 the line ended before the
// string, 0 the string has more assigning conversions than variables (the values read before that
// are handed over), or the sink's result when it refuses a value.
Result ScanLine(const CFrtString& importString, std::string_view line, CFrtValueSource& sink);

}  // namespace frt

// Reads lines of data with the import strings of one block type of a format. Candidates are the
// present import strings of the block (direction 2, section 1) in list order; each record is tried
// against them and the first that accepts it wins. A record is one line, or several when a
// conversion is still waiting for input at the end of a line (result 24); the values of a record
// reach the value source only once the record is accepted, so nothing is handed over twice. What
// follows the accepted record on its last line is dropped; a record that no candidate accepts is
// dropped line by line (result 27).
class CFrtInputEngine {
 public:
  static constexpr std::size_t kBufferSize = 2048;
  static constexpr std::size_t kRingSlots = 2047;  // positions 0 to 2,046
  static constexpr std::size_t kMaxBuffered = kRingSlots - 1;

  static constexpr std::uint16_t kMoreInput = 0x0001;
  static constexpr std::uint16_t kMatched = 0x0008;
  static constexpr std::uint16_t kStarted = 0x0010;
  static constexpr std::uint16_t kEnded = 0x0100;
  static constexpr std::uint16_t kAccepted = 0x0200;  // a record was accepted since BeginInput

  CFrtInputEngine();

  frt::Result Begin(CFrtFile* format, int blockType);
  // Each line is stored with a line feed after it (a CR LF or LF at its end is removed first).
  frt::Result Line(std::string_view text, CFrtValueSource* sink);
  frt::Result Flag() const { return (status_ & kAccepted) ? 1 : 0; }

  std::uint16_t Status() const { return status_; }
  std::size_t Buffered() const { return (write_ + kRingSlots - read_) % kRingSlots; }
  CFrtFile* Format() const { return format_; }
  int BlockType() const { return block_; }

 private:
  frt::Result Process(CFrtValueSource* sink);
  frt::Result Deliver(const CFrtString& string, CFrtValueSource* sink);
  std::size_t Linearize();
  void Consume(std::size_t n);

  std::uint16_t status_ = 0;
  CFrtFile* format_ = nullptr;
  int block_ = 0;
  char ring_[kBufferSize];
  std::size_t read_ = 0;
  std::size_t write_ = 0;
  char scratch_[kBufferSize];
  std::vector<frt::ScanValue> values_;
};
