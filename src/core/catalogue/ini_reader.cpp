#include "catalogue/ini_reader.h"

#include <locale.h>
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "library/out_of_memory.h"
#include "library/safe_file.h"

namespace {

// Reads a file in the pieces a getline into a 1023-byte buffer would give, with text-mode line
// ends. After the read that meets the end of the file, good() is false; that read still gives a
// line, which is no line of the file when it took no byte.
class LineSource {
 public:
  explicit LineSource(std::FILE* f) : f_(f) {}
  bool good() const { return good_; }
  std::size_t consumed() const { return consumed_; }

  // False when the read took no byte: the empty read behind a file's last line end.
  bool Next(std::string& line) {
    line.clear();
    bool cut = false;  // a NUL was met: the rest of the line is read but not kept
    char last = 0;     // the last byte taken into this line
    std::size_t count = 0;
    for (;;) {
      if (pos_ == end_) {
        Fill(1);
        if (pos_ == end_) {
          good_ = false;
          return count > 0;
        }
      }
      const char* p = buf_.data() + pos_;
      const std::size_t avail = end_ - pos_;
      const std::size_t room = CIniReader::kMaxLinePiece - count;
      const std::size_t limit = avail < room ? avail : room;
      const auto* nl = static_cast<const char*>(std::memchr(p, '\n', limit));
      const std::size_t take = nl != nullptr ? static_cast<std::size_t>(nl - p) : limit;
      if (!cut) {
        const auto* nul = static_cast<const char*>(std::memchr(p, '\0', take));
        line.append(p, nul != nullptr ? static_cast<std::size_t>(nul - p) : take);
        cut = nul != nullptr;
      }
      if (take > 0) last = p[take - 1];
      count += take;
      pos_ += take;
      if (nl != nullptr) {
        ++pos_;
        DropCarriageReturn(line, last, cut);
        return true;
      }
      if (count == CIniReader::kMaxLinePiece) {
        // A full buffer still takes the line end that follows it, so a line of exactly this
        // length does not produce an extra empty line. A CR LF counts as one byte, so a CR
        // that filled the buffer still ends the line when LF follows.
        const int c = Peek(0);
        if (c == '\n') {
          ++pos_;
          DropCarriageReturn(line, last, cut);
        } else if (c == '\r' && Peek(1) == '\n') {
          pos_ += 2;
        } else if (c == EOF) {
          good_ = false;  // the read that fills its buffer at the very end sees the end too
        }
        return true;
      }
    }
  }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  // Makes at least n bytes available unless the file ends first.
  void Fill(std::size_t n) {
    if (end_ - pos_ >= n || eof_) return;
    if (pos_ > 0) {
      buf_.erase(0, pos_);
      end_ -= pos_;
      pos_ = 0;
    }
    while (end_ - pos_ < n && !eof_) {
      buf_.resize(end_ + kChunk);
      const std::size_t got = std::fread(buf_.data() + end_, 1, kChunk, f_);
      end_ += got;
      consumed_ += got;
      buf_.resize(end_);
      if (got < kChunk) eof_ = true;  // end of file or a read error: both end the reading
    }
  }
  // Text mode turns CR LF into LF: a CR right before the line end is not part of the line.
  static void DropCarriageReturn(std::string& line, char last, bool cut) {
    if (last == '\r' && !cut) line.pop_back();
  }
  int Peek(std::size_t offset) {
    Fill(offset + 1);
    if (end_ - pos_ <= offset) return EOF;
    return static_cast<unsigned char>(buf_[pos_ + offset]);
  }
  std::FILE* f_;
  std::string buf_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::size_t consumed_ = 0;
  bool eof_ = false;
  bool good_ = true;
};

locale_t CLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

CIniReader::CIniReader() = default;

CIniReader::~CIniReader() {
  Clear();
}

void CIniReader::Clear() {
  sections_.clear();
  cachedList_ = nullptr;
  cacheValid_ = false;
}

bool CIniReader::Load(const std::string& path) {
  Clear();
  frt::OpenFailure failure;
  std::FILE* f = frt::OpenRegularStream(path, failure);
  if (f == nullptr) return !failure.NotRegular();
  LineSource source(f);
  Lines* current = nullptr;
  bool ok = true;
  std::string line;
  std::size_t lines = 0;
  bool tooLarge = false;
  frt::GuardAllocation([&] {
    while (source.good()) {
      const bool took = source.Next(line);
      if ((took && ++lines > kMaxLines) || source.consumed() > kMaxFileBytes) {
        tooLarge = true;
        return;
      }
      if (!line.empty() && (line[0] == ';' || line[0] == ' ')) continue;
      if (!line.empty() && line[0] == '[') {
        auto it = sections_.find(line);
        if (it == sections_.end()) {
          auto list = std::unique_ptr<Section>(new (std::nothrow) Section);
          if (!list) {
            ok = false;
            return;
          }
          it = sections_.emplace(line, std::move(list)).first;
        }
        current = &it->second->lines;
        continue;
      }
      if (current == nullptr) {
        ok = false;
        return;
      }
      current->push_back(line);
    }
  });
  std::fclose(f);
  if (tooLarge) {
    Clear();
    return false;
  }
  return ok;
}

const CIniReader::Lines* CIniReader::FindSection(std::string_view name) {
  const Section* section = FindSectionEntry(name);
  return section == nullptr ? nullptr : &section->lines;
}

CIniReader::Section* CIniReader::FindSectionEntry(std::string_view name) {
  if (cacheValid_ && name == lastSection_) return cachedList_;
  if (name != lastSection_) {
    lastSection_.assign(name);
    lastLine_ = 0;
  }
  headerBuf_.assign("[");
  headerBuf_.append(name);
  headerBuf_.push_back(']');
  const auto it = sections_.find(headerBuf_);
  cachedList_ = it == sections_.end() ? nullptr : it->second.get();
  cacheValid_ = true;
  return cachedList_;
}

CIniReader::KeyGroup* CIniReader::FindGroup(Section& section, std::string_view text,
                                            std::size_t line, bool add) {
  const std::uint64_t hash = std::hash<std::string_view>{}(text);
  const std::uint64_t tag = hash & ~std::uint64_t{0xFFFFFFFF};
  const std::size_t mask = section.table.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint64_t entry = section.table[slot];
    if (entry == 0) {
      if (!add) return nullptr;
      section.groups.push_back(KeyGroup{static_cast<std::uint32_t>(line),
                                        static_cast<std::uint32_t>(text.size()), 0, 0});
      section.table[slot] = tag | section.groups.size();
      return &section.groups.back();
    }
    if ((entry & ~std::uint64_t{0xFFFFFFFF}) != tag) continue;
    KeyGroup& group = section.groups[(entry & 0xFFFFFFFF) - 1];
    if (std::string_view(section.lines[group.line]).substr(0, group.length) == text) return &group;
  }
}

void CIniReader::Index(Section& section) {
  frt::GuardAllocation([&] {
    const std::size_t n = section.lines.size();
    // At most half full, so that every probe soon meets a free slot.
    std::size_t slots = 16;
    while (slots < 2 * n) slots *= 2;
    section.table.assign(slots, 0);
    section.groups.clear();
    std::vector<std::uint32_t> groupOf(n, 0);  // 1 + group of each line, 0 for none
    for (std::size_t i = 0; i < n; ++i) {
      const std::string_view line = section.lines[i];
      const std::size_t equals = line.find('=');
      if (equals == std::string_view::npos) continue;
      KeyGroup* group = FindGroup(section, line.substr(0, equals), i, true);
      ++group->count;
      groupOf[i] = static_cast<std::uint32_t>(group - section.groups.data()) + 1;
    }
    std::uint32_t next = 0;
    for (KeyGroup& group : section.groups) {
      group.first = next;
      next += group.count;
      group.count = 0;
    }
    // Lines in file order, so each group's members come out in file order too.
    section.members.assign(next, 0);
    for (std::size_t i = 0; i < n; ++i) {
      if (groupOf[i] == 0) continue;
      KeyGroup& group = section.groups[groupOf[i] - 1];
      section.members[group.first + group.count++] = static_cast<std::uint32_t>(i);
    }
  });
  section.indexed = true;
}

const std::string* CIniReader::FindLine(std::string_view section, std::string_view key) {
  Section* entry = FindSectionEntry(section);
  if (entry == nullptr) return nullptr;
  const Lines& list = entry->lines;
  const std::size_t n = list.size();
  const std::size_t start = lastLine_ < n ? lastLine_ : 0;
  // (No entry line is a section header: every line that begins with '[' is one.)
  const auto matches = [&](std::size_t i) {
    const std::string& line = list[i];
    return line.size() > key.size() && line[key.size()] == '=' &&
           line.compare(0, key.size(), key) == 0;
  };
  const auto hit = [&](std::size_t i) {
    lastLine_ = i;
    return &list[i];
  };
  // Keys read in file order are found right behind the last hit, and a short section is
  // searched whole, without the index.
  const std::size_t nearEnd = n <= kShortSection ? n : std::min(n, start + kNearby);
  for (std::size_t i = start; i < nearEnd; ++i)
    if (matches(i)) return hit(i);
  if (n <= kShortSection) {
    for (std::size_t i = 0; i < start; ++i)
      if (matches(i)) return hit(i);
    return nullptr;
  }

  // Otherwise the first match from the last hit to the end, then round from the top, as the
  // scan of the lines would find it. A line that begins with key + "=" has its first '=' where
  // the key's own first '=' is, or right behind the key: only that group of lines can match.
  if (!entry->indexed) Index(*entry);
  const KeyGroup* group = FindGroup(*entry, key.substr(0, key.find('=')));
  if (group == nullptr) return nullptr;
  if (group->count == 1) return matches(group->line) ? hit(group->line) : nullptr;
  const auto first = entry->members.begin() + group->first;
  const auto last = first + group->count;
  const auto from = std::lower_bound(first, last, nearEnd);
  for (auto it = from; it != last; ++it)
    if (matches(*it)) return hit(*it);
  for (auto it = first; it != from && *it < start; ++it)
    if (matches(*it)) return hit(*it);
  return nullptr;
}

bool CIniReader::GetString(std::string_view section, std::string_view key, std::string& out) {
  const std::string* line = FindLine(section, key);
  if (line == nullptr) return false;
  frt::GuardAllocation([&] { out.assign(*line, key.size() + 1); });
  return true;
}

bool CIniReader::GetBool(std::string_view section, std::string_view key, bool& out) {
  const std::string* line = FindLine(section, key);
  if (line == nullptr) return false;
  out = line->find("true", key.size() + 1) != std::string::npos;
  return true;
}

bool CIniReader::GetDouble(std::string_view section, std::string_view key, double& out) {
  const std::string* line = FindLine(section, key);
  if (line == nullptr) return false;
  out = ToDouble(line->c_str() + key.size() + 1);
  return true;
}

bool CIniReader::GetFloat(std::string_view section, std::string_view key, float& out) {
  double d = 0;
  if (!GetDouble(section, key, d)) return false;
  // Beyond float's range the narrowing would be undefined; infinity is what strtof gives.
  if (d > FLT_MAX) {
    out = HUGE_VALF;
  } else if (d < -FLT_MAX) {
    out = -HUGE_VALF;
  } else {
    out = static_cast<float>(d);
  }
  return true;
}

bool CIniReader::GetLong(std::string_view section, std::string_view key, long& out) {
  const std::string* line = FindLine(section, key);
  if (line == nullptr) return false;
  out = ToLong(line->c_str() + key.size() + 1);
  return true;
}

bool CIniReader::GetInt(std::string_view section, std::string_view key, int& out) {
  const std::string* line = FindLine(section, key);
  if (line == nullptr) return false;
  out = ToInt(line->c_str() + key.size() + 1);
  return true;
}

double CIniReader::ToDouble(const char* text) {
  const locale_t loc = CLocale();
  if (loc == static_cast<locale_t>(nullptr)) return std::strtod(text, nullptr);
  return strtod_l(text, nullptr, loc);
}

long CIniReader::ToLong(const char* text) {
  return std::strtol(text, nullptr, 10);
}

int CIniReader::ToInt(const char* text) {
  // atoi leaves overflow undefined; saturate as strtol does.
  const long v = ToLong(text);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}
