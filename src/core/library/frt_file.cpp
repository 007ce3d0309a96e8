#include "frt_file.h"

#include "out_of_memory.h"

CFrtFile::CFrtFile() : CFrtFile(CFrtUnitRecord{}) {}

CFrtFile::CFrtFile(const CFrtUnitRecord& units) {
  for (int i = 0; i < 4; ++i) {
    unitCodes_[i] = units.codes[i];
    scales_[i] = units.scales[i];
  }
  parse_.format = this;
  parse_.attached = 1;
}

CFrtFile::~CFrtFile() = default;

std::unique_ptr<CFrtString> CFrtFile::NewString() const { return std::make_unique<CFrtString>(); }

std::unique_ptr<CFrtString> CFrtFileEx::NewString() const {
  return std::make_unique<CFrtStringEx>();
}

frt::Result CFrtFile::InitList() { return SetListCapacity(kDefaultCapacity); }

frt::Result CFrtFile::SetListCapacity(int n) {
  // Slots are allocated as strings arrive, so a huge capacity from a template costs nothing.
  strings_.clear();
  capacity_ = n < 0 ? 0 : n;
  listCreated_ = true;
  searchPos_ = -1;
  return frt::kOk;
}

frt::Result CFrtFile::AddString(const CFrtKey& key, CFrtString*& out) {
  out = nullptr;
  if (!listCreated_) InitList();
  if (static_cast<int>(strings_.size()) >= capacity_) return frt::kOutOfMemory;
  std::unique_ptr<CFrtString> s = NewString();
  s->key = key;
  out = s.get();
  frt::GuardAllocation([&] { strings_.push_back(std::move(s)); });
  if (key.direction == CFrtKey::kExport) directions_ |= 1;
  if (key.direction == CFrtKey::kImport) directions_ |= 2;
  return frt::kOk;
}

CFrtString* CFrtFile::StringAt(int i) const {
  if (i < 0 || i >= static_cast<int>(strings_.size())) return nullptr;
  return strings_[static_cast<std::size_t>(i)].get();
}

frt::Result CFrtFile::Find(CFrtString*& out, const CFrtKey& key, int applicationFilter) {
  out = nullptr;
  if (strings_.empty()) return frt::kNotFound;
  CFrtString* fallback = nullptr;
  for (std::size_t i = 0; i < strings_.size(); ++i) {
    CFrtString* s = strings_[i].get();
    if (!s->IsPresent()) continue;
    if (s->key == key) {
      searchPos_ = static_cast<int>(i) + 1;
      searchKey_ = key;
      if (applicationFilter < 0) {
        out = s;
        return frt::kOk;
      }
      if (s->HasApplication(static_cast<std::uint16_t>(applicationFilter))) {
        searchPos_ = -1;
        out = s;
        return frt::kOk;
      }
    }
    if (s->key.block == key.block && s->key.section == CFrtKey::kBlockFallback) fallback = s;
  }
  if (fallback && key.section == CFrtKey::kBlockString) {
    out = fallback;
    return frt::kOk;
  }
  return frt::kNotFound;
}

frt::Result CFrtFile::FindNext(CFrtString*& out) {
  out = nullptr;
  if (searchPos_ < 0) return frt::kNotFound;
  for (std::size_t i = static_cast<std::size_t>(searchPos_); i < strings_.size(); ++i) {
    CFrtString* s = strings_[i].get();
    if (s->IsPresent() && s->key == searchKey_) {
      searchPos_ = static_cast<int>(i) + 1;
      out = s;
      return frt::kOk;
    }
  }
  searchPos_ = -1;
  return frt::kNotFound;
}

int CFrtFile::CountMatching(const CFrtKey& key, std::uint16_t application) const {
  int n = 0;
  for (const auto& s : strings_) {
    if (!s->IsPresent() || !(s->key == key)) continue;
    if (application == kAnyApplication || s->HasApplication(application)) ++n;
  }
  return n;
}

frt::Result CFrtFile::FindByIdentity(CFrtString*& out, std::int32_t identity) const {
  out = nullptr;
  for (const auto& s : strings_) {
    auto* ex = dynamic_cast<CFrtStringEx*>(s.get());
    if (ex && ex->identity == identity) {
      out = ex;
      return frt::kOk;
    }
  }
  return frt::kNotFound;
}

frt::Result CFrtFile::FindApplicationString(CFrtString*& out, int application) {
  return Find(out, CFrtKey{CFrtKey::kExport, CFrtKey::kApplicationString, 0, 0}, application);
}

frt::Result CFrtFile::FindBlockAuxString(CFrtString*& out, int block) {
  return Find(out,
              CFrtKey{CFrtKey::kExport, CFrtKey::kBlockAux, static_cast<std::uint8_t>(block), 0},
              kNoFilter);
}

frt::Result CFrtFile::FindHeaderString(CFrtString*& out) {
  return Find(out, CFrtKey{CFrtKey::kExport, CFrtKey::kFileHeader, 0, 0}, kNoFilter);
}

frt::Result CFrtFile::FindFooterString(CFrtString*& out) {
  return Find(out, CFrtKey{CFrtKey::kExport, CFrtKey::kFileFooter, 0, 0}, kNoFilter);
}

frt::FixedText<CFrtFile::kTextCapacity>& CFrtFile::DefaultSlot(int dataType) {
  if (IsIntegerType(dataType)) return integerDefault_;
  if (IsFloatType(dataType)) return floatDefault_;
  return stringDefault_;
}

frt::Result CFrtFile::SetDefaultString(int dataType, std::string_view text) {
  if (!IsDataType(dataType)) return frt::kUnknownType;
  DefaultSlot(dataType) = text;
  return frt::kOk;
}

const char* CFrtFile::DefaultString(int dataType) const {
  return const_cast<CFrtFile*>(this)->DefaultSlot(dataType).c_str();
}

int CFrtFile::StorageIndex(int unitType) {
  switch (unitType) {
    case 1: return 1;  // angular
    case 2: return 0;  // linear
    case 3: return 2;  // temperature
    case 4: return 3;  // pressure
    default: return -1;
  }
}

frt::Result CFrtFile::SetScale(int unitType, double value) {
  int i = StorageIndex(unitType);
  if (i < 0) return frt::kUnknownType;
  scales_[i] = value;
  return frt::kOk;
}

double CFrtFile::Scale(int unitType) const {
  int i = StorageIndex(unitType);
  return i < 0 ? 1.0 : scales_[i];
}

frt::Result CFrtFile::SetUnitCode(const CFrtUnitPair& pair) {
  int i = StorageIndex(pair.unitType);
  if (i >= 0) unitCodes_[i] = pair.code;
  return frt::kOk;
}

void CFrtFile::UnitCode(CFrtUnitPair& pair) const {
  int i = StorageIndex(pair.unitType);
  if (i >= 0) pair.code = unitCodes_[i];
}

char CFrtFile::UnitCodeOf(int unitType) const {
  CFrtUnitPair p{unitType, 0};
  UnitCode(p);
  return p.code;
}

frt::Result CFrtFile::SetName(const char* name) {
  if (!name) return frt::kNullPointer;
  name_ = name;
  return frt::kOk;
}

frt::Result CFrtFile::CopyHeaderTo(CFrtHeader& header) const {
  header = header_;
  return frt::kOk;
}

frt::Result CFrtFile::SetHeader(const CFrtHeader& header) {
  header_ = header;
  return frt::kOk;
}
