#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frt_input_engine.h"
#include "frt_result.h"
#include "frt_value_source.h"

class CFrtFile;
class CFrtString;
struct CFrtVariable;

// The format-string engine: renders output strings with values from the value source, and reads
// data lines with import strings. The application owns the one instance; it holds no global state.
//
// Rendering rules worth knowing at the call site:
// - The output never goes past the capacity and is always NUL-terminated. When it does not fit,
//   it is cut at capacity - 1 characters and the result is 26 (nothing is written for a capacity
//   of 0, which also gives 26).
// - A value the source does not have (3) prints the format's default output string for the data
//   type, also when that string is empty; 100 only when no format is attached.
// - A null value pointer from the source prints "(null)" for every conversion, not only for s.
// - A %c of the character NUL prints nothing: the output is a C string.
class CFrtEngine {
 public:
  // Largest output of the std::string form of Render.
  static constexpr std::size_t kStringLimit = 1u << 20;

  explicit CFrtEngine(CFrtValueSource* source = nullptr);
  CFrtEngine(const CFrtEngine&) = delete;
  CFrtEngine& operator=(const CFrtEngine&) = delete;

  // 13 for a null format; else attaches it and hands it to the value source. Result 1.
  virtual frt::Result AttachFormat(CFrtFile* format);
  // Renders the string's text into buffer (capacity bytes, NUL included).
  virtual frt::Result Render(CFrtString* string, char* buffer, std::size_t capacity);
  // Starts reading data of one block type with the format's import strings.
  virtual frt::Result BeginInput(CFrtFile* format, int blockType);
  // Appends one data line and reads what it completes. 1 accepted, 2 no room in the buffer,
  // 27 mismatch, 24 more input needed, 0 ended; 6 before BeginInput.
  virtual frt::Result InputLine(std::string_view text);
  // 1 once a record has been accepted since BeginInput, else 0.
  virtual frt::Result InputFlag();
  virtual ~CFrtEngine();

  frt::Result InputLine(const char* text) {
    return text ? InputLine(std::string_view(text)) : frt::kNullPointer;
  }
  // The same rendering into a string (at most kStringLimit characters, else cut and 26).
  frt::Result Render(CFrtString* string, std::string& out);

  void SetValueSource(CFrtValueSource* source) { source_ = source; }
  CFrtValueSource* ValueSource() const { return source_; }
  CFrtFile* Format() const { return format_; }
  const CFrtInputEngine& Input() const { return input_; }

 private:
  CFrtValueSource* source_ = nullptr;
  CFrtFile* format_ = nullptr;
  CFrtInputEngine input_;
};
