#include "document/doc_format_check.h"

#include <array>
#include <optional>
#include <string_view>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "document/catalogue_pool_lookup.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "profile/qv_profile.h"
#include "settings/qv_edit_var.h"

namespace {

enum MessageId {
  kBadInstrument = 1201,
  kBadVersion = 1203,
  kBadUnit = 1205,
  kBadKind = 1206,
  kBadBlock = 1207,
  kBadCode = 1208,
  kTooManyStrings = 1209,
  kTooLong = 1210,
  kTooManyVariables = 1211,
  kBadVariable = 1212,
  kBadConversion = 1213,
  kBadApplication = 1214,
  kWrongApplicationCount = 1215,
  kRepeatedHeader = 1216,
};

std::uint64_t PackKey(const CFrtKey& k) {
  return static_cast<std::uint64_t>(k.direction) << 32 |
         static_cast<std::uint64_t>(k.section) << 24 | static_cast<std::uint64_t>(k.block) << 16 |
         k.number;
}

std::uint64_t PackKeyApplication(const CFrtKey& k, std::uint16_t application) {
  return PackKey(k) << 16 | application;
}

std::uint32_t PackBlockApplication(int block, std::uint16_t application) {
  return static_cast<std::uint32_t>(block) << 16 | application;
}

// Upper case of the ASCII letters only: the second byte of a GBK character may look like a
// lower-case letter and must stay as it is.
std::string UpperGbk(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < out.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace

CDocFormatCheck::CDocFormatCheck(CDocFormat& document)
    : document_(document), format_(document.Format()), template_(document.Template()) {}

bool CDocFormatCheck::Fail(int id, int position) const {
  // The message counts by list position; the document keeps where the string really is.
  document_.faultLine_ = format_.StringAt(position)->fileLine;
  CErrorMessage::ShowMessage(id, true, " " + std::to_string(position + kFirstStringLine));
  return false;
}

bool CDocFormatCheck::CheckHeader() {
  const CFrtHeader& header = format_.Header();
  const CFormatTemplateManager* catalogue = document_.Context().catalogue;
  bool known = false;
  if (catalogue) {
    for (const std::string& name : catalogue->InstrumentNames()) {
      if (header.instrument.view() == name) {
        known = true;
        break;
      }
    }
  }
  if (!known) {
    CErrorMessage::ShowMessage(kBadInstrument, true);
    return false;
  }
  if (header.version.view() != "1.00" || header.type.view() != "FRT") {
    CErrorMessage::ShowMessage(kBadVersion, true);
    return false;
  }
  return true;
}

bool CDocFormatCheck::CheckNameAndUnits(const std::string& path) {
  if (!template_ || path.empty()) return false;
  std::string_view cut = path;
  const std::size_t slash = cut.find_last_of("/\\");
  if (slash != std::string_view::npos) cut.remove_prefix(slash + 1);
  const std::size_t dot = cut.rfind('.');
  if (dot != std::string_view::npos) cut = cut.substr(0, dot);
  const std::string fileName = UpperGbk(cut);
  if (UpperGbk(format_.Name()) != fileName) document_.SetFileHeader("%N", fileName.c_str());

  static constexpr std::array<std::pair<const char*, const char*>, 4> kUnits = {{
      {"Angular", "#W"},
      {"Linear", "#L"},
      {"Temperature", "#T"},
      {"Pressure", "#P"},
  }};
  const CQVProfile* profile = document_.Context().profile;
  for (const auto& [type, key] : kUnits) {
    std::string code;
    document_.GetFileHeader(key, code);
    if (code == "0") continue;  // the instrument's own units
    if (code.empty() || !profile || profile->IndexOfUnitValue(type, code) < 0) {
      CErrorMessage::ShowMessage(kBadUnit, true, std::string(" ") + type + " " + key);
      return false;
    }
  }
  return true;
}

void CDocFormatCheck::CountStrings() {
  if (counted_) return;
  counted_ = true;
  const int n = format_.StringCount();
  for (int i = 0; i < n; ++i) {
    const auto* s = static_cast<const CFrtStringEx*>(format_.StringAt(i));
    const int kind = CDocFormat::KindOfKey(s->key);
    if (kind >= CDocFormat::kKindBlockHeader && kind <= CDocFormat::kKindFileFooter) {
      ++keyCounts_[PackKey(s->key)];
      // An application header counts for every application it holds, in any position.
      for (std::uint16_t a : s->Applications())
        ++keyApplicationCounts_[PackKeyApplication(s->key, a)];
    }
    for (std::uint16_t a : s->Applications()) {
      auto [it, added] = blockApplications_.try_emplace(PackBlockApplication(s->key.block, a));
      if (added)
        it->second.firstId = s->identity;
      else if (it->second.firstId != s->identity)
        it->second.shared = true;
    }
  }
}

bool CDocFormatCheck::CheckFormatStrings() {
  if (!template_) return false;
  CUnassignedString unassigned;
  if (!document_.FindUnassignedString(unassigned)) {
    CErrorMessage::ShowMessage(frt::kIdNoApplication, true);
    return false;
  }
  CountStrings();
  const int n = format_.StringCount();
  for (int i = 0; i < n; ++i) {
    const auto& s = static_cast<const CFrtStringEx&>(*format_.StringAt(i));
    bool ok = false;
    switch (CDocFormat::KindOfKey(s.key)) {
      case CDocFormat::kKindExport:
      case CDocFormat::kKindDefault:
      case CDocFormat::kKindImport:
      case CDocFormat::kKindImportHeader:
      case CDocFormat::kKindRestriction:
        ok = CheckDataBlockString(s, i);
        break;
      case CDocFormat::kKindBlockHeader:
      case CDocFormat::kKindFileHeader:
      case CDocFormat::kKindFileFooter:
        ok = CheckHeaderString(s, i);
        break;
      case CDocFormat::kKindApplicationHeader:
        ok = CheckApplicationHeader(s, i);
        break;
      default:
        return Fail(kBadKind, i);
    }
    if (!ok) return false;
    if (s.key.number != 0) return Fail(kBadCode, i);
  }
  return true;
}

bool CDocFormatCheck::CheckDataBlockString(const CFrtStringEx& s, int position) {
  const std::int32_t id = s.identity;
  const int block = CDocFormat::BlockOf(id);
  const bool isExport = CDocFormat::IsExportId(id);
  const CFTFormat* def = template_->FindFormat(block, isExport);
  if (!def) return Fail(kBadBlock, position);
  if (CDocFormat::IndexOf(id) > def->StrCount()) return Fail(kTooManyStrings, position);
  if (static_cast<long>(s.TextView().size()) > def->MaxLength()) return Fail(kTooLong, position);
  if (s.VariableCount() > def->VarCount()) return Fail(kTooManyVariables, position);

  for (const CFrtVariable& v : s.Variables()) {
    bool allowed = def->FindVariable(v.code) != nullptr;
    if (!allowed) {
      for (const CFTFormat* other : template_->FormatList()) {
        if (other->IsExport() == isExport && other->FindVariable(v.code)) {
          allowed = true;
          break;
        }
      }
    }
    const CFTPoolVariable* pool = template_->FindPoolVariable(v.code);
    if (!allowed || !pool || pool->Type() != v.dataType || pool->UnitType() != v.unitType)
      return Fail(kBadVariable, position);
  }
  if (!VariablesParse(s)) return Fail(kBadConversion, position);

  for (std::uint16_t a : s.Applications()) {
    if (!template_->FindApplication(a)) return Fail(kBadApplication, position);
    auto it = blockApplications_.find(PackBlockApplication(s.key.block, a));
    if (it != blockApplications_.end() && it->second.shared) return Fail(kBadApplication, position);
  }
  return true;
}

bool CDocFormatCheck::VariablesParse(const CFrtStringEx& s) const {
  if (s.VariableCount() == 0) return true;
  const CQVProfile* profile = document_.Context().profile;
  const CFormatTemplateManager* catalogue = document_.Context().catalogue;
  if (!profile || !catalogue) return false;
  // The pool table is made once per check, and only when a string has variables.
  if (!pool_) pool_.emplace(*catalogue);
  std::string text(s.TextView());
  std::string variables;
  CDocFormat::AppendVariableCodes(s, variables);
  std::string stored;
  const auto direction = CQVEditVar::DirectionOfFormat(s.key.direction);
  // Each parse replaces the conversion it used, so the next one finds the next conversion.
  for (std::size_t at = 0; at + CDocFormat::kVariableGroup <= variables.size();
       at += CDocFormat::kVariableGroup) {
    stored.assign(variables, at, CDocFormat::kVariableGroup);
    stored += text;
    bool ok = false;
    CQVEditVar parsed(*profile, *pool_, stored, direction, ok);
    if (!ok) return false;
    text.swap(stored);
  }
  return true;
}

bool CDocFormatCheck::CheckHeaderString(const CFrtStringEx& s, int position) {
  if (keyCounts_[PackKey(s.key)] != 1) return Fail(kRepeatedHeader, position);
  const int kind = CDocFormat::Kind(s.identity);
  const int block = CDocFormat::BlockOf(s.identity);
  const bool fileHeader = kind == CDocFormat::kKindFileHeader;
  if ((fileHeader || kind == CDocFormat::kKindFileFooter) && block != 0)
    return Fail(kBadBlock, position);
  long limit = 0;
  if (kind == CDocFormat::kKindBlockHeader) {
    const CFTFormat* def = template_->FindFormat(block, true);
    if (!def) return Fail(kBadBlock, position);
    limit = def->Header();
  } else {
    limit = fileHeader ? template_->FileHeaderLength() : template_->FileFooterLength();
  }
  if (static_cast<long>(s.TextView().size()) > limit) return Fail(kTooLong, position);
  return true;
}

bool CDocFormatCheck::CheckApplicationHeader(const CFrtStringEx& s, int position) {
  const std::uint16_t first = s.ApplicationAt(0);
  if (s.ApplicationCount() == 0 || keyApplicationCounts_[PackKeyApplication(s.key, first)] != 1)
    return Fail(kRepeatedHeader, position);
  if (CDocFormat::BlockOf(s.identity) != 0) return Fail(kBadBlock, position);
  if (s.ApplicationCount() != 1) return Fail(kWrongApplicationCount, position);
  const CFTAppl* application = template_->FindApplication(first);
  if (!application) return Fail(kBadApplication, position);
  if (static_cast<long>(s.TextView().size()) > application->HeaderLength())
    return Fail(kTooLong, position);
  return true;
}
