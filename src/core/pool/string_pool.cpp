#include "pool/string_pool.h"

#include <cstring>
#include <utility>

#include "library/out_of_memory.h"
#include "library/string_table.h"
#include "library/text_encoding.h"

namespace {

constexpr std::size_t kTextSize = CFrtStringEx::kExtraTextCapacity;  // 128
constexpr std::size_t kVariableRecord = 4 + CStringPool::kVariableSize;

void AppendU32(std::string& out, std::uint32_t v) {
  const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                         static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
  out.append(bytes, 4);
}

void AppendU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void AppendByte(std::string& out, std::uint8_t v) {
  out.push_back(static_cast<char>(v));
}

// One entry's bytes in file order, appended to `out`.
void AppendEntry(std::string& out, const CFrtStringEx& entry) {
  AppendU32(out, CStringPool::kTextsBlockSize);
  char texts[CStringPool::kTextsBlockSize] = {};
  for (std::size_t i = 0; i < 5; ++i) {
    const std::string_view text = entry.extra[i].view();  // at most 127 bytes: the NUL fits
    std::memcpy(texts + i * kTextSize, text.data(), text.size());
  }
  out.append(texts, sizeof texts);

  AppendU32(out, CStringPool::kKeySize);
  AppendByte(out, entry.key.direction);
  AppendByte(out, entry.key.section);
  AppendByte(out, entry.key.block);
  AppendByte(out, 0);
  AppendU16(out, entry.key.number);

  const std::string_view text = entry.TextView();
  AppendU32(out, static_cast<std::uint32_t>(text.size()));
  out.append(text);

  const auto& variables = entry.Variables();
  AppendU32(out, static_cast<std::uint32_t>(variables.size()));
  for (const CFrtVariable& v : variables) {
    AppendU32(out, CStringPool::kVariableSize);
    AppendU16(out, v.code);
    AppendByte(out, v.unitType);
    AppendByte(out, v.dataType);
    AppendByte(out, v.unitCode);
    AppendByte(out, v.options);
  }
}

// Reads the file image front to back; every read says whether the bytes were there.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - pos_; }

  bool Bytes(std::size_t n, std::string_view& out) {
    if (n > Remaining()) return false;
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }
  bool U32(std::uint32_t& v) {
    std::string_view b;
    if (!Bytes(4, b)) return false;
    v = static_cast<std::uint32_t>(Byte(b, 0)) | static_cast<std::uint32_t>(Byte(b, 1)) << 8 |
        static_cast<std::uint32_t>(Byte(b, 2)) << 16 | static_cast<std::uint32_t>(Byte(b, 3)) << 24;
    return true;
  }
  // A length field that must hold exactly `size`, followed by that many bytes.
  bool Field(std::uint32_t size, std::string_view& out) {
    std::uint32_t length = 0;
    return U32(length) && length == size && Bytes(size, out);
  }

  static std::uint8_t Byte(std::string_view b, std::size_t i) {
    return static_cast<std::uint8_t>(b[i]);
  }
  static std::uint16_t U16(std::string_view b, std::size_t i) {
    return static_cast<std::uint16_t>(Byte(b, i) | Byte(b, i + 1) << 8);
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// One entry, or null when the bytes are not a whole, well-formed entry.
std::unique_ptr<CFrtStringEx> ReadEntry(ByteReader& in) {
  std::string_view texts;
  if (!in.Field(CStringPool::kTextsBlockSize, texts)) return nullptr;
  std::string_view key;
  if (!in.Field(CStringPool::kKeySize, key)) return nullptr;
  std::uint32_t length = 0;
  std::string_view text;
  if (!in.U32(length) || length > CStringPool::kMaxTextLength || !in.Bytes(length, text))
    return nullptr;
  std::uint32_t count = 0;
  // The count is checked against the bytes that are there before anything is built from it.
  if (!in.U32(count) || count > in.Remaining() / kVariableRecord) return nullptr;

  auto entry = std::make_unique<CFrtStringEx>();
  for (std::size_t i = 0; i < 5; ++i)
    entry->extra[i].assign(texts.substr(i * kTextSize, kTextSize));
  entry->key.direction = ByteReader::Byte(key, 0);
  entry->key.section = ByteReader::Byte(key, 1);
  entry->key.block = ByteReader::Byte(key, 2);
  entry->key.number = ByteReader::U16(key, 4);
  entry->SetText(text);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string_view record;
    if (!in.Field(CStringPool::kVariableSize, record)) return nullptr;
    CFrtVariable v;
    v.code = ByteReader::U16(record, 0);
    v.unitType = ByteReader::Byte(record, 2);
    v.dataType = ByteReader::Byte(record, 3);
    v.unitCode = ByteReader::Byte(record, 4);
    v.options = ByteReader::Byte(record, 5);
    entry->AddVariable(v);
  }
  return entry;
}

bool SectionsMatch(int a, int b) {
  if (a == b) return true;
  const auto blockLike = [](int s) {
    return s == CFrtKey::kBlockString || s == CFrtKey::kBlockFallback;
  };
  // 1 and 7 stand for each other; the other sections all stand for each other.
  return blockLike(a) == blockLike(b);
}

}  // namespace

CStringPool::CStringPool(std::string path, frt::FileSystem* fs)
    : path_(std::move(path)), fs_(fs != nullptr ? fs : &frt::FileSystem::Posix()) {}

CStringPool::~CStringPool() {
  if (modified_) Save();
}

frt::Result CStringPool::Load() {
  if (path_.empty()) return frt::kOk;
  frt::Result result = frt::kOk;
  frt::GuardAllocation([&] {
    entries_.clear();
    cursor_.reset();
    cyclicCursor_.reset();
    modified_ = 0;

    std::string bytes;
    const frt::Result read = fs_->ReadAll(path_, bytes);
    if (read == frt::kFileNotFound) return;
    // Any other failure, also a file that exists but cannot be read, is a load error: the
    // caller then drops the pool instead of later saving an empty one over the file.
    if (read != frt::kOk) {
      result = frt::kLoadError;
      return;
    }
    ByteReader in(bytes);
    std::uint32_t count = 0;
    if (!in.U32(count)) {
      result = frt::kLoadError;
      return;
    }
    // Entries are read one by one: a huge count only runs into the end of the file.
    for (std::uint32_t i = 0; i < count; ++i) {
      std::unique_ptr<CFrtStringEx> entry = ReadEntry(in);
      if (!entry) {
        result = frt::kLoadError;
        return;
      }
      std::string name = entry->extra[kPoolName].str();
      entries_.insert_or_assign(std::move(name), std::move(entry));
    }
  });
  return result;
}

frt::Result CStringPool::Save() {
  if (!modified_ || path_.empty()) return frt::kOk;
  frt::Result result = frt::kCannotSave;
  frt::GuardAllocation([&] {
    frt::SafeFileWriter writer(fs_);
    if (writer.Open(path_) != frt::kOk) return;
    std::string chunk;
    AppendU32(chunk, static_cast<std::uint32_t>(entries_.size()));
    bool ok = writer.Write(chunk);
    for (auto it = entries_.begin(); ok && it != entries_.end(); ++it) {
      chunk.clear();
      AppendEntry(chunk, *it->second);
      ok = writer.Write(chunk);
    }
    if (!ok) {
      writer.Abort();
      return;
    }
    result = writer.Commit();
  });
  if (result != frt::kOk) return frt::kCannotSave;
  modified_ = 0;
  return frt::kOk;
}

frt::Result CStringPool::Add(std::unique_ptr<CFrtStringEx> entry) {
  if (!entry) return frt::kNullPointer;
  frt::GuardAllocation([&] {
    std::string name = entry->extra[kPoolName].str();
    entries_.insert_or_assign(std::move(name), std::move(entry));
  });
  modified_ = 1;
  return frt::kOk;
}

frt::Result CStringPool::Remove(std::string_view name) {
  const auto it = entries_.find(name);
  if (it == entries_.end()) return frt::kNotFound;
  entries_.erase(it);
  modified_ = 1;
  return frt::kOk;
}

frt::Result CStringPool::FindByName(std::string_view name, CFrtStringEx*& entry) const {
  const auto it = entries_.find(name);
  if (it == entries_.end()) return frt::kNotFound;
  entry = it->second.get();
  return frt::kOk;
}

frt::Result CStringPool::Get(std::string_view name, CFrtStringEx*& entry) const {
  entry = nullptr;
  return FindByName(name, entry);
}

bool CStringPool::Matches(const CFrtStringEx& entry, const CFrtKey& key,
                          std::string_view templateName) {
  return entry.key.direction == key.direction && entry.key.block == key.block &&
         SectionsMatch(entry.key.section, key.section) &&
         entry.extra[kPoolTemplate].view() == templateName;
}

CFrtStringEx* CStringPool::WalkFrom(EntryMap::const_iterator it) {
  for (; it != entries_.end(); ++it) {
    if (Matches(*it->second, searchKey_, searchTemplate_)) {
      frt::GuardAllocation([&] { cursor_ = it->first; });
      return it->second.get();
    }
  }
  cursor_.reset();
  return nullptr;
}

frt::Result CStringPool::FindFirst(const CFrtKey& key, std::string_view templateName,
                                   CFrtStringEx*& entry) {
  entry = nullptr;
  cursor_.reset();
  if (entries_.empty()) return frt::kNotFound;
  searchKey_ = key;
  frt::GuardAllocation([&] { searchTemplate_.assign(templateName); });
  entry = WalkFrom(entries_.begin());
  return entry != nullptr ? frt::kOk : frt::kNotFound;
}

CFrtStringEx* CStringPool::FindNext() {
  if (!cursor_) return nullptr;
  return WalkFrom(entries_.upper_bound(*cursor_));
}

int CStringPool::Count(int direction, int blockType) const {
  int n = 0;
  for (const auto& [name, entry] : entries_) {
    if (entry->key.direction == direction && (blockType == -1 || entry->key.block == blockType))
      ++n;
  }
  return n;
}

CFrtStringEx* CStringPool::NextCyclic() {
  if (entries_.empty()) return nullptr;
  auto it = cyclicCursor_ ? entries_.upper_bound(*cyclicCursor_) : entries_.begin();
  if (it == entries_.end()) it = entries_.begin();
  frt::GuardAllocation([&] { cyclicCursor_ = it->first; });
  return it->second.get();
}

std::unique_ptr<CFrtStringEx> MakePoolEntry(const CFrtString& source, std::string_view name,
                                            std::string_view templateName, std::string_view date) {
  std::unique_ptr<CFrtStringEx> entry;
  frt::GuardAllocation([&] {
    entry = std::make_unique<CFrtStringEx>();
    entry->key = source.key;
    entry->SetText(source.TextView());
    for (const CFrtVariable& v : source.Variables()) entry->AddVariable(v);
    entry->extra[kPoolName] = name;
    entry->extra[kPoolDescription] =
        frt::Utf8ToGbk(frt::LoadText(frt::kIdDescriptionText, frt::Language::kChinese));
    entry->extra[kPoolAuthor] = "Quarvel";
    entry->extra[kPoolDate] = date;
    entry->extra[kPoolTemplate] = templateName;
  });
  return entry;
}

std::string FormatPoolDate(const std::tm& date) {
  char text[256];
  const std::size_t n = std::strftime(text, sizeof text, "%A, %B %d, %Y", &date);
  return std::string(text, n);
}

std::string PoolDateToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return {};
  return FormatPoolDate(local);
}
