#include "preview/sample_value_source.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "catalogue/format_template_manager.h"
#include "library/frt_file.h"
#include "library/utility.h"

namespace {

bool IsTextType(long t) {
  return t == frt::kTypeText || t == frt::kTypeChar;
}

// The number as the integer of the width an integer conversion reads (the integer types).
template <class T>
void Store(unsigned char* out, double v) {
  T n = 0;
  if (std::isfinite(v)) {
    if (v >= static_cast<double>(std::numeric_limits<T>::max()))
      n = std::numeric_limits<T>::max();
    else if (v <= static_cast<double>(std::numeric_limits<T>::min()))
      n = std::numeric_limits<T>::min();
    else
      n = static_cast<T>(v);
  }
  std::memcpy(out, &n, sizeof n);
}

}  // namespace

const void* CValueShaper::Text(std::string text, frt::DataType requestedType) {
  text_ = std::move(text);
  return Shape(true, requestedType);
}

const void* CValueShaper::Number(double number, frt::DataType requestedType) {
  number_ = number;
  return Shape(false, requestedType);
}

double ScaleByFormat(double number, long poolType, const CFrtVariable& variable,
                     const CFrtFile* format) {
  if (IsFloatType(static_cast<int>(poolType)) && (variable.options & CFrtVariable::kOptScale) &&
      variable.unitType >= 1 && variable.unitType <= 4 && format)
    return number * format->Scale(variable.unitType);
  return number;
}

const void* CValueShaper::Shape(bool isText, frt::DataType requestedType) {
  if (IsTextType(requestedType)) {
    if (!isText) text_ = CUtility::FloatToText(number_, 0);
    return text_.c_str();
  }
  if (isText) number_ = CUtility::TextToDouble(text_);
  if (IsFloatType(requestedType) || requestedType == frt::kTypeNone) return &number_;
  std::memset(integer_, 0, sizeof integer_);
  switch (requestedType) {
    case frt::kTypeUShort:
      Store<std::uint16_t>(integer_, number_);
      break;
    case frt::kTypeShort:
      Store<std::int16_t>(integer_, number_);
      break;
    case frt::kTypeUInt:
      Store<std::uint32_t>(integer_, number_);
      break;
    default:
      Store<std::int32_t>(integer_, number_);
      break;
  }
  return integer_;
}

frt::Result CSampleValueSource::Value(CFrtVariable& variable, const void*& value,
                                      frt::DataType requestedType) {
  value = nullptr;
  const CFTPoolVariable* pool = catalogue_ ? catalogue_->FindPoolVariable(variable.code) : nullptr;
  if (!pool || !IsDataType(pool->Type())) return frt::kNotFound;
  if (IsTextType(pool->Type())) {
    value = shaper_.Text(pool->Default(), requestedType);
    return frt::kOk;
  }
  const double number = CUtility::TextToDouble(pool->Default());
  value = shaper_.Number(ScaleByFormat(number, pool->Type(), variable, Format()), requestedType);
  return frt::kOk;
}

frt::Result CSampleValueSource::ValueByCode(int code, const void*& value) {
  value = nullptr;
  const CFTPoolVariable* pool = catalogue_ ? catalogue_->FindPoolVariable(code) : nullptr;
  if (!pool || !IsDataType(pool->Type())) return frt::kNotFound;
  if (IsTextType(pool->Type())) {
    text_ = pool->Default();
    value = text_.c_str();
  } else {
    number_ = CUtility::TextToDouble(pool->Default());
    value = &number_;
  }
  return frt::kOk;
}

frt::Result CSampleValueSource::Accept(const CFrtVariable&, const CFrtInputValue&) {
  return frt::kOk;
}
