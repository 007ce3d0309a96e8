#include "profile/qv_conversion.h"

#include "library/frt_variable.h"
#include "profile/qv_prof_default.h"

CQVValueKind QVValueKindOf(int dataType) {
  if (IsIntegerType(dataType)) return CQVValueKind::kInteger;
  if (IsFloatType(dataType)) return CQVValueKind::kReal;
  if (dataType == frt::kTypeText) return CQVValueKind::kString;
  if (dataType == frt::kTypeChar) return CQVValueKind::kCharacter;
  return CQVValueKind::kNone;
}

const char* QVInputIntegerConversion(int dataType) {
  static const char* const kConversions[] = {"hu", "hd", "u", "d", "lu", "ld", "ld"};
  if (!IsIntegerType(dataType)) return "";
  return kConversions[dataType - frt::kTypeUShort];
}

void CQVConversionSettings::Reset() {
  *this = CQVConversionSettings{};
}

void CQVConversionSettings::ApplyDefaults(const CQVProfDefault& defaults, int dataType,
                                          bool output) {
  Reset();
  kind = QVValueKindOf(dataType);
  switch (kind) {
    case CQVValueKind::kNone:
      return;
    case CQVValueKind::kInteger:
      if (output) {
        const auto& d = defaults.PrintFInteger();
        align = d.Align();
        length = d.Length();
        sign = d.Sign();
        fillCharacter = d.FillCharacter();
      } else {
        const auto& d = defaults.ScanFInteger();
        length = d.Length();
        subpressAssignment = d.SubpressAssignment();
      }
      return;
    case CQVValueKind::kReal:
      if (output) {
        const auto& d = defaults.PrintFFloat();
        align = d.Align();
        length = d.Length();
        precision = d.Precision();
        fillCharacter = d.FillCharacter();
        sign = d.Sign();
        representation = d.Representation();
        alternateFormat = d.AlternateFormat();
      } else {
        const auto& d = defaults.ScanFFloat();
        length = d.Length();
        subpressAssignment = d.SubpressAssignment();
        representation = d.Representation();
      }
      return;
    case CQVValueKind::kString:
      if (output) {
        const auto& d = defaults.PrintFStrings();
        align = d.Align();
        length = d.Length();
        precision = d.Precision();
        fillCharacter = d.FillCharacter();
      } else {
        const auto& d = defaults.ScanFStrings();
        length = d.Length();
        subpressAssignment = d.SubpressAssignment();
      }
      return;
    case CQVValueKind::kCharacter:
      if (output) {
        const auto& d = defaults.PrintFChar();
        align = d.Align();
        length = d.Length();
      } else {
        const auto& d = defaults.ScanFChar();
        length = d.Length();
        subpressAssignment = d.SubpressAssignment();
      }
      return;
  }
}

namespace {

const char* RealConversion(int dataType, int representation) {
  if (dataType == frt::kTypeDouble) return "lf";
  if (representation == 1) return "e";
  if (representation == 2) return "E";
  return "f";
}

}  // namespace

std::string CQVConversionSettings::BuildText(int dataType, bool output) const {
  std::string flags;
  std::string precisionText;
  std::string conversion;
  const bool hasPrecision = precision >= 0;
  if (output) {
    switch (kind) {
      case CQVValueKind::kInteger:
        if (sign == 1) flags += '+';
        if (align == 1) flags += '-';
        if (fillCharacter == 0) flags += '0';
        precisionText = "0";
        conversion = "f";
        break;
      case CQVValueKind::kReal:
        if (alternateFormat == 1) flags += '#';
        if (sign == 1) flags += '+';
        if (align == 1) flags += '-';
        if (fillCharacter == 0) flags += '0';
        if (hasPrecision) precisionText = std::to_string(precision);
        conversion = RealConversion(dataType, representation);
        break;
      case CQVValueKind::kString:
        if (align == 1) flags += '-';
        if (fillCharacter == 0) flags += '0';
        if (hasPrecision) precisionText = std::to_string(precision);
        conversion = "s";
        break;
      case CQVValueKind::kCharacter:
        if (align == 1) flags += '-';
        precisionText = "1";
        conversion = "s";
        break;
      case CQVValueKind::kNone:
        break;
    }
  } else {
    if (subpressAssignment == 1) flags += '*';
    switch (kind) {
      case CQVValueKind::kInteger:
        conversion = QVInputIntegerConversion(dataType);
        break;
      case CQVValueKind::kReal:
        conversion = RealConversion(dataType, representation);
        break;
      case CQVValueKind::kString:
        conversion = "s";
        break;
      case CQVValueKind::kCharacter:
        conversion = "c";
        break;
      case CQVValueKind::kNone:
        break;
    }
  }
  std::string text = "%" + flags;
  if (length > 0) text += std::to_string(length);
  if (!precisionText.empty()) text += "." + precisionText;
  return text + conversion;
}
