#pragma once
#include <cstdint>
#include <string>

#include "library/frt_value_source.h"

class CFormatTemplateManager;

// Holds one value and hands it out in the shape a conversion reads: a number asked for as text
// (s, c) is its default text, a text asked for as a number is the number its text begins with,
// and an integer conversion (d, i, o, x) gets the number as an integer of the requested width
// (held at the width's limits). The pointer stays valid until the next call.
class CValueShaper {
 public:
  const void* Text(std::string text, frt::DataType requestedType);
  const void* Number(double number, frt::DataType requestedType);

 private:
  const void* Shape(bool isText, frt::DataType requestedType);

  double number_ = 0.0;
  std::string text_;
  alignas(8) unsigned char integer_[8] = {};
};

// A value of a pool variable in the format's units: a floating pool type is multiplied by the
// format's factor of the variable's unit type when the variable asks for it (option bit 1).
double ScaleByFormat(double number, long poolType, const CFrtVariable& variable,
                     const CFrtFile* format);

// The sample values of the renderer: each variable's default from the catalogue's variable pool,
// floats scaled by the attached format's factor of the variable's unit type when the variable
// asks for it (option bit 1). One object serves the whole program.
//
// Choices where the pool does not give a value: a code the pool does not hold, and a pool type
// that is no data type, answer 3 (no value), so the renderer prints the format's default output
// string. A value is handed out in the shape the conversion reads: a number asked for as text
// (s, c) is its default text, a text asked for as a number is the number its text begins with,
// and an integer conversion (d, i, o, x) gets the number as an integer of the requested width.
class CSampleValueSource : public CFrtValueSource {
 public:
  explicit CSampleValueSource(const CFormatTemplateManager* catalogue = nullptr)
      : catalogue_(catalogue) {}

  void SetCatalogue(const CFormatTemplateManager* catalogue) { catalogue_ = catalogue; }
  const CFormatTemplateManager* Catalogue() const { return catalogue_; }

  // Numbers as a double, texts as text; never scaled.
  frt::Result ValueByCode(int code, const void*& value) override;
  frt::Result Value(CFrtVariable& variable, const void*& value,
                    frt::DataType requestedType) override;
  // Read values are not kept.
  frt::Result Accept(const CFrtVariable& variable, const CFrtInputValue& value) override;

 private:
  const CFormatTemplateManager* catalogue_;
  CValueShaper shaper_;
  double number_ = 0.0;  // what ValueByCode hands out
  std::string text_;
};
