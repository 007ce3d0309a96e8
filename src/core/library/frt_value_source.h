#pragma once
#include <string_view>

#include "frt_result.h"
#include "frt_variable.h"

class CFrtFile;

// A value read by the input engine for one conversion.
struct CFrtInputValue {
  char conversion = 0;    // the conversion letter, lower case
  std::string_view text;  // the characters read (valid during the call)
  double number = 0.0;    // for e, f, g
  long long integer = 0;  // for d, o, x
};

// Supplies values to the output renderer and receives them from the input engine. The application
// implements it; there is one for the whole program.
class CFrtValueSource {
 public:
  virtual ~CFrtValueSource() = default;

  // The renderer hands its format over when it is attached to one.
  virtual void AttachFormat(CFrtFile* format) { format_ = format; }
  CFrtFile* Format() const { return format_; }

  // The sample value of a pool variable by code. The renderer does not call it.
  virtual frt::Result ValueByCode(int code, const void*& value) = 0;
  // The value for one conversion: kOk and a pointer to the value, or kNotFound when there is none.
  // For s the pointer is the NUL-terminated text, for c its first byte; a numeric value must point
  // to storage of 8 readable bytes: a double for e, f, g, else an integer of the requested width.
  // `requestedType` is also written into the variable before the call. The
  // source may change the variable's data type; the renderer then requires kTypeNone or the
  // requested type (kTypeFloat2 is also accepted for e, f, g).
  virtual frt::Result Value(CFrtVariable& variable, const void*& value,
                            frt::DataType requestedType) = 0;
  // A value read by the input engine.
  virtual frt::Result Accept(const CFrtVariable& variable, const CFrtInputValue& value) = 0;

 private:
  CFrtFile* format_ = nullptr;
};
