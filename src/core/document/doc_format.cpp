#include "document/doc_format.h"

#include <array>
#include <ctime>
#include <unordered_map>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "document/doc_format_check.h"
#include "library/error_message.h"
#include "library/frt_engine.h"
#include "library/safe_file.h"
#include "library/string_table.h"
#include "library/text_encoding.h"
#include "library/utility.h"
#include "profile/qv_profile.h"

namespace {

constexpr int kIdOutOfMemory = 1120;
constexpr int kIdTooManyStrings = 1115;
constexpr int kIdNoRoomForString = 1116;
constexpr const char* kProgrammingError = "programming error in CDocFormat::SetFileHeader";

// The settings keys in the order they are compared.
enum class Key { kName, kUnit, kScale, kDefault, kUnknown };
struct KeyInfo {
  Key key = Key::kUnknown;
  int number = 0;  // unit type 1..4, or the data type whose default group the key addresses
};

KeyInfo ParseKey(std::string_view key) {
  if (key == "%N") return {Key::kName, 0};
  static constexpr std::array<std::string_view, 4> kUnits = {"#W", "#L", "#T", "#P"};
  static constexpr std::array<std::string_view, 4> kScales = {"&W", "&L", "&T", "&P"};
  for (int i = 0; i < 4; ++i) {
    if (key == kUnits[static_cast<std::size_t>(i)]) return {Key::kUnit, i + 1};
  }
  for (int i = 0; i < 4; ++i) {
    if (key == kScales[static_cast<std::size_t>(i)]) return {Key::kScale, i + 1};
  }
  // The document's "@Dd" is the floating-point group and "@Df" the integer group.
  if (key == "@Dd") return {Key::kDefault, frt::kTypeFloat2};
  if (key == "@Df") return {Key::kDefault, frt::kTypeLong};
  if (key == "@Ds") return {Key::kDefault, frt::kTypeText};
  return {};
}

// The message box without an icon that a failed save shows.
void ShowPlain(int id, std::string text) {
  CMessage m;
  m.id = id;
  m.kind = CMessage::Kind::kNotice;
  m.text = std::move(text);
  MessageSink().Show(m);
}

// The file name without folder and extension.
std::string NameFromPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) path = path.substr(0, dot);
  return std::string(path);
}

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The last `width` decimal digits of n, zero-padded.
void AppendDigits(std::string& out, unsigned n, int width) {
  char digits[8];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

int DigitsValue(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

// A sample that cannot be rendered reads as the message of its result, in the bytes of every other
// sample (GBK), so that whoever shows samples decodes one encoding.
std::string SampleFailure(frt::Result r) {
  return frt::Utf8ToGbk(frt::ResultText(r));
}

}  // namespace

CDocFormat::CDocFormat(const CDocContext& context)
    : context_(context),
      format_(std::make_unique<CFrtFileEx>()),
      buffer_(std::make_unique<char[]>(kSampleBufferSize)),
      scratch_(std::make_unique<CFrtStringEx>()) {
  buffer_[0] = '\0';
  if (context_.engine) context_.engine->AttachFormat(format_.get());
}

// The renderer may still name this format; every render attaches its own format first.
CDocFormat::~CDocFormat() = default;

int CDocFormat::InitNew() {
  if (!template_) return 0;
  char date[200] = "";
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local)) std::strftime(date, sizeof date, "%A, %B %d, %Y", &local);

  CFrtHeader header;
  byId_.clear();
  if (format_->SetListCapacity(static_cast<int>(template_->CountStrings())) != frt::kOk) {
    CErrorMessage::ShowMessage(kIdOutOfMemory, true);
    return 0;
  }
  header.type = "FRT";
  header.instrument = template_->Instrument();
  header.version = "1.00";
  header.author = "Quarvel";
  header.company = frt::Utf8ToGbk("Orvanti测量系统");
  header.date = date;
  header.comment = frt::Utf8ToGbk(frt::LoadText(frt::kIdDescriptionText, frt::Language::kChinese));
  header.templateName = template_->Name();
  format_->SetHeader(header);

  static constexpr std::array<const char*, 4> kTypes = {"Angular", "Linear", "Temperature",
                                                        "Pressure"};
  static constexpr std::array<const char*, 4> kUnitKeys = {"#W", "#L", "#T", "#P"};
  static constexpr std::array<const char*, 4> kScaleKeys = {"&W", "&L", "&T", "&P"};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string unit =
        context_.profile ? context_.profile->GetSelectedUnitValue(kTypes[i]) : std::string();
    SetFileHeader(kUnitKeys[i], unit.c_str());
  }
  if (context_.profile) {
    const CQVProfDefault& defaults = context_.profile->Default();
    for (std::size_t i = 0; i < 4; ++i)
      SetFileHeader(kScaleKeys[i], defaults.ScaleText(kTypes[i]).c_str());
    SetFileHeader("@Dd", defaults.FloatValue().c_str());
    SetFileHeader("@Df", defaults.IntegerValue().c_str());
    SetFileHeader("@Ds", defaults.StringValue().c_str());
  }
  return 1;
}

int CDocFormat::SetFileHeader(std::string_view key, const char* value) {
  const KeyInfo k = ParseKey(key);
  switch (k.key) {
    case Key::kName:
      format_->SetName(value);  // a null name is refused by the format; nothing to report
      return 1;
    case Key::kUnit:
      SetUnit(k.number, value ? value[0] : '\0');
      return 1;
    case Key::kScale:
      format_->SetScale(k.number, value ? CUtility::TextToDouble(value) : 0.0);
      return 1;
    case Key::kDefault:
      format_->SetDefaultString(k.number, value ? value : "");
      return 1;
    case Key::kUnknown:
      break;
  }
  CErrorMessage::ShowNotice(frt::kIdNone, kProgrammingError);
  return 0;
}

int CDocFormat::GetFileHeader(std::string_view key, std::string& value) const {
  const KeyInfo k = ParseKey(key);
  switch (k.key) {
    case Key::kName:
      value = format_->Name();
      return 1;
    case Key::kUnit:
      value = GetUnit(k.number);
      return 1;
    case Key::kScale:
      value = CUtility::FloatToText(format_->Scale(k.number), 8);
      return 1;
    case Key::kDefault:
      value = format_->DefaultString(k.number);
      return 1;
    case Key::kUnknown:
      break;
  }
  CErrorMessage::ShowNotice(frt::kIdNone, kProgrammingError);
  return 0;
}

void CDocFormat::SetUnit(int unitType, char code) {
  format_->SetUnitCode({unitType, code});
}

std::string CDocFormat::GetUnit(int unitType) const {
  CFrtUnitPair pair{unitType, '\0'};
  format_->UnitCode(pair);
  return pair.code ? std::string(1, pair.code) : std::string();
}

bool CDocFormat::PeekTemplateName(const std::string& path, std::string& name) {
  name.clear();
  faultLine_ = 0;
  if (format_->ReadHeader(path.c_str(), 0, 1) != frt::kOk) return false;
  name = format_->Header().templateName.str();
  return true;
}

int CDocFormat::Load(const std::string& path) {
  const long capacity = template_ ? template_->CountStrings() : 0;
  format_->SetListCapacity(static_cast<int>(capacity));
  byId_.clear();
  faultLine_ = 0;
  const frt::Result r = format_->Load(path.c_str(), 0, 0);
  if (r != frt::kOk) {
    // An incomplete file lacks a line; every other failure is at the line last read.
    if (r != frt::kLoadError) faultLine_ = format_->ParseState().fileLine;
    CErrorMessage::ShowLoadError(r, format_->LineNumber());
    return 0;
  }
  if (format_->StringCount() > capacity) {
    CErrorMessage::ShowMessage(kIdTooManyStrings, true);
    return 0;
  }
  NormaliseIds();
  CDocFormatCheck check(*this);
  return check.CheckHeader() && check.CheckNameAndUnits(path) && check.CheckFormatStrings() ? 1 : 0;
}

bool CDocFormat::TextLooksLikeUtf8() const {
  const CFrtHeader& h = format_->Header();
  std::string text;
  for (std::string_view field :
       {h.instrument.view(), h.version.view(), h.author.view(), h.company.view(), h.date.view(),
        h.comment.view(), h.templateName.view(), std::string_view(format_->Name()),
        std::string_view(format_->DefaultString(1)), std::string_view(format_->DefaultString(8)),
        std::string_view(format_->DefaultString(11))}) {
    text += field;
    text += '\n';
  }
  for (int i = 0; i < format_->StringCount(); ++i) {
    text += format_->StringAt(i)->TextView();
    text += '\n';
  }
  return frt::LooksLikeUtf8(text);
}

void CDocFormat::NormaliseIds() {
  byId_.clear();
  byId_.reserve(static_cast<std::size_t>(format_->StringCount()));
  // The lowest index of a kind and block that may still be free: indexes are only ever taken
  // here, so the search for the next free one never needs to start lower.
  std::unordered_map<std::int32_t, int> nextIndex;
  for (int i = 0; i < format_->StringCount(); ++i) {
    auto* s = static_cast<CFrtStringEx*>(format_->StringAt(i));
    const int kind = KindOfKey(s->key);
    const std::int32_t base = MakeId(kind, s->key.block, 0);
    std::int32_t id = base;
    if (kind == kKindExport || kind == kKindImport) {
      int& index = nextIndex.try_emplace(base, 1).first->second;
      while (byId_.count(base + index)) ++index;
      id = base + index;
      ++index;
    } else if (kind == kKindApplicationHeader) {
      id = kApplicationHeaderKind + s->ApplicationAt(0);
    }
    s->identity = id;
    byId_.try_emplace(id, s);
  }
}

CFrtStringEx* CDocFormat::FindString(std::int32_t id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

void CDocFormat::IndexString(CFrtStringEx* string) {
  byId_.try_emplace(string->identity, string);
}

void CDocFormat::SetId(CFrtStringEx* string, std::int32_t id) {
  const std::int32_t old = string->identity;
  if (old != id) {
    auto it = byId_.find(old);
    if (it != byId_.end() && it->second == string) {
      // Another string may hold the old ID too; the first of them in the list takes over.
      byId_.erase(it);
      for (int i = 0; i < format_->StringCount(); ++i) {
        auto* s = static_cast<CFrtStringEx*>(format_->StringAt(i));
        if (s != string && s->identity == old) {
          byId_.emplace(old, s);
          break;
        }
      }
    }
  }
  string->identity = id;
  // The index names the first string of an ID in list order.
  auto it = byId_.find(id);
  if (it == byId_.end()) {
    byId_.emplace(id, string);
  } else if (it->second != string) {
    for (int i = 0; i < format_->StringCount(); ++i) {
      CFrtString* s = format_->StringAt(i);
      if (s == it->second) break;
      if (s == string) {
        it->second = string;
        break;
      }
    }
  }
}

void CDocFormat::AppendVariableCodes(const CFrtString& string, std::string& out) {
  out.reserve(out.size() + string.Variables().size() * kVariableGroup);
  for (const CFrtVariable& v : string.Variables()) {
    AppendDigits(out, v.options, 1);
    AppendDigits(out, v.unitCode, 2);
    AppendDigits(out, v.unitType, 1);
    AppendDigits(out, v.dataType, 2);
    AppendDigits(out, v.code, 3);
  }
}

bool CDocFormat::IsApplicationHeaderId(std::int32_t id, int& application) {
  if (KindPart(id) != kApplicationHeaderKind) return false;
  application = id - kApplicationHeaderKind;
  return true;
}

int CDocFormat::GetFormatStringInfo(std::int32_t id, std::string& text, std::string& variables,
                                    std::string& applications, const CFrtStringEx* string) const {
  text.clear();
  variables.clear();
  applications.clear();
  const CFrtStringEx* s = string ? string : FindString(id);
  if (!s) return 0;
  text.assign(s->TextView());
  AppendVariableCodes(*s, variables);
  int application = 0;
  if (!IsApplicationHeaderId(id, application)) {
    applications.reserve(s->Applications().size() * kApplicationGroup);
    for (std::uint16_t a : s->Applications()) AppendDigits(applications, a, 3);
  }
  return 1;
}

bool CDocFormat::VariableOfGroup(std::string_view group, CFrtVariable& variable) const {
  if (group.size() != kVariableGroup || !AllDigits(group) || !context_.catalogue) return false;
  const int code = DigitsValue(group.substr(6, 3));
  const CFTPoolVariable* pool = context_.catalogue->FindPoolVariable(code);
  if (!pool) return false;
  variable = CFrtVariable{};
  variable.code = static_cast<std::uint16_t>(code);
  variable.options = static_cast<std::uint8_t>(group[0] - '0');
  variable.unitCode = static_cast<std::uint8_t>(DigitsValue(group.substr(1, 2)));
  variable.unitType = static_cast<std::uint8_t>(pool->UnitType());
  variable.dataType = static_cast<std::uint8_t>(pool->Type());
  return true;
}

bool CDocFormat::AddVariables(CFrtString& string, std::string_view variables) const {
  bool ok = true;
  while (!variables.empty()) {
    const std::string_view group = variables.substr(0, kVariableGroup);
    variables.remove_prefix(group.size());
    CFrtVariable v;
    if (!VariableOfGroup(group, v) || string.AddVariable(v) != frt::kOk) ok = false;
  }
  return ok;
}

int CDocFormat::SetFormatString(std::int32_t id, std::string_view text, std::string_view variables,
                                std::string_view applications, CFrtStringEx* string) {
  CFrtStringEx* s = string;
  if (!string) {
    s = FindString(id);
    if (s) {
      s->SetText(std::string_view());
      s->ClearLists();
    }
    if (text.empty()) return 1;
  }
  int application = 0;
  const bool isApplicationHeader = IsApplicationHeaderId(id, application);
  if (!s || string) {
    const int kind = Kind(id);
    CFrtKey key;
    key.direction = static_cast<std::uint8_t>(kind / 10);
    key.section = static_cast<std::uint8_t>(kind % 10);
    key.block = static_cast<std::uint8_t>(BlockOf(id));
    if (isApplicationHeader) {
      key.section = CFrtKey::kApplicationString;
      key.block = 0;
    }
    if (!string) {
      CFrtString* added = nullptr;
      if (format_->AddString(key, added) == frt::kOutOfMemory || !added) {
        CErrorMessage::ShowMessage(kIdNoRoomForString, true);
        return 0;
      }
      s = static_cast<CFrtStringEx*>(added);
    } else {
      // A given string is replaced as a whole.
      s->ClearLists();
      s->key = key;
    }
    SetId(s, id);
  }
  if (isApplicationHeader) s->AddApplication(static_cast<std::uint16_t>(application));
  s->SetText(text);
  const bool ok = AddVariables(*s, variables);
  while (!applications.empty()) {
    const std::string_view group = applications.substr(0, kApplicationGroup);
    applications.remove_prefix(group.size());
    if (AllDigits(group)) s->AddApplication(static_cast<std::uint16_t>(DigitsValue(group)));
  }
  return ok ? 1 : 0;
}

std::string CDocFormat::RenderSample(std::string_view text, std::string_view variables,
                                     frt::Result* result) {
  frt::Result ignored;
  frt::Result& r = result ? *result : ignored;
  scratch_->ClearLists();
  scratch_->SetText(text);
  while (!variables.empty()) {
    const std::string_view group = variables.substr(0, kVariableGroup);
    variables.remove_prefix(group.size());
    CFrtVariable v;
    if (!VariableOfGroup(group, v)) return SampleFailure(r = frt::kBadData);
    r = scratch_->AddVariable(v);
    if (r != frt::kOk) return SampleFailure(r);
  }
  if (!context_.engine) return SampleFailure(r = frt::kNotAttached);
  // Samples take units and defaults from this document's format, whichever was made last.
  context_.engine->AttachFormat(format_.get());
  r = context_.engine->Render(scratch_.get(), buffer_.get(), kSampleBufferSize);
  if (r != frt::kOk) return SampleFailure(r);
  return buffer_.get();
}

int CDocFormat::Save(const std::string& path) {
  const std::string name = NameFromPath(path);
  SetFileHeader("%N", name.c_str());
  frt::SafeFileWriter writer(context_.fileSystem);
  frt::Result r = writer.Open(path);
  if (r == frt::kOk) {
    r = format_->WriteFrt(&writer);
    if (r == frt::kOk)
      r = writer.Commit();
    else
      writer.Abort();
  }
  if (r != frt::kOk) {
    ShowPlain(frt::kIdSaveFormatFailed, CErrorMessage::SaveErrorText(r, format_->LineNumber()));
    return 0;
  }
  return 1;
}

bool CDocFormat::FindUnassignedString(CUnassignedString& out) const {
  out = CUnassignedString{};
  if (!template_) return true;
  for (const auto& def : template_->ExportFormatList()) {
    const int block = static_cast<int>(def->BlockType());
    int withText = 0;
    int withApplication = 0;
    std::int32_t first = 0;
    for (long index = 1; index <= def->StrCount(); ++index) {
      const std::int32_t id = MakeId(11, block, static_cast<int>(index));
      const CFrtStringEx* s = FindString(id);
      if (!s) continue;
      const bool hasText = s->IsPresent();
      const bool hasApplication = s->ApplicationCount() > 0;
      withText += hasText;
      withApplication += hasApplication;
      if (hasText && !hasApplication && first == 0) first = id;
    }
    if (withText != withApplication) {
      out.block = block;
      out.id = first;
      return false;
    }
  }
  return true;
}
