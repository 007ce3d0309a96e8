// Reads a .frt file of either variant into a format. Strict: a line of an unexpected shape ends
// the load with its result, and LineNumber() tells where. The input may be anything: every line
// lives in a fixed buffer and every text is cut at its field's capacity.
#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "frt_file.h"
#include "frt_older_letters.h"
#include "safe_file.h"

namespace {

// One line piece: at most 2,047 bytes; a longer line comes in several pieces.
constexpr std::size_t kLineBuffer = 2048;

enum class ReadStatus { kLine, kEnd, kError };

// Reads the next piece as fgets in text mode would into a buffer of kLineBuffer, and removes the
// line end. Text mode turns CR LF into LF before the piece is cut, so a CR LF right after 2,046
// bytes ends that line, exactly like an LF there; any other CR is text. Embedded NUL bytes end
// the line's text for the parsers, as they would for a C string.
// One thread reads one file: the unlocked read saves a lock per byte. `state` learns which line
// of the file the piece belongs to.
ReadStatus ReadLine(std::FILE* f, char* buf, CFrtParseState& state) {
  std::size_t n = 0;
  bool ended = false;
  while (n < kLineBuffer - 1) {
    int c = getc_unlocked(f);
    if (c == EOF) break;
    if (c == '\r') {
      const int next = getc_unlocked(f);
      if (next == '\n')
        c = '\n';
      else if (next != EOF)
        std::ungetc(next, f);
    }
    if (c == '\n') {
      ended = true;
      break;
    }
    buf[n++] = static_cast<char>(c);
  }
  if (n == 0 && !ended) return std::ferror(f) ? ReadStatus::kError : ReadStatus::kEnd;
  if (!state.lineOpen) ++state.fileLine;
  state.lineOpen = !ended;
  buf[n] = '\0';
  return ReadStatus::kLine;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipSpace(const char* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads `width` decimal digits; false when any of them is not a digit.
bool ReadDigits(const char*& p, int width, unsigned& out) {
  unsigned v = 0;
  for (int i = 0; i < width; ++i) {
    if (!IsDigit(p[i])) return false;
    v = v * 10 + static_cast<unsigned>(p[i] - '0');
  }
  p += width;
  out = v;
  return true;
}

// A double with a decimal point whatever the locale; an optional sign, then what from_chars takes.
// A value outside the range of double counts as no number.
bool ReadDouble(const char*& p, double& out) {
  const char* s = p;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  if (*s == '+' || *s == '-') return false;
  double v = 0;
  auto r = std::from_chars(s, s + std::strlen(s), v, std::chars_format::general);
  if (r.ec != std::errc{}) return false;
  out = negative ? -v : v;
  p = r.ptr;
  return true;
}

// Reads a quoted text starting at the opening quote and unescapes it; p ends behind the closing
// quote. The text comes at most from one line piece, so the buffer cannot overflow.
bool ReadQuoted(const char*& p, char* text) {
  if (*p != '"') return false;
  ++p;
  std::size_t n = 0;
  for (; *p && *p != '"' && *p != '\n'; ++p) {
    char c = *p;
    if (c == '\x12' || c == '\x15')
      c = '\n';
    else if (c == '\x13')
      c = '"';
    else if (c == '\x14')
      c = '\r';
    text[n++] = c;
  }
  text[n] = '\0';
  if (*p != '"') return false;
  ++p;
  return true;
}

// The bit of the unit line #X and the scale line &X, and the unit type of X.
struct UnitTag {
  char tag;
  int unitType;
  std::uint16_t unitBit;
  std::uint16_t scaleBit;
};
constexpr UnitTag kUnitTags[] = {
    {'W', 1, CFrtParseState::kUnitW, CFrtParseState::kScaleW},
    {'L', 2, CFrtParseState::kUnitL, CFrtParseState::kScaleL},
    {'T', 3, CFrtParseState::kUnitT, CFrtParseState::kScaleT},
    {'P', 4, CFrtParseState::kUnitP, CFrtParseState::kScaleP},
};

const UnitTag* FindUnitTag(char c) {
  for (const UnitTag& u : kUnitTags)
    if (u.tag == c) return &u;
  return nullptr;
}

// Opens a file for reading and rejects one that is not a regular file (without waiting on a
// pipe) or that is empty. `failure` keeps the system's reason for the caller's message.
frt::Result OpenForReading(const char* path, std::FILE*& f, frt::OpenFailure& failure) {
  f = nullptr;
  failure = frt::OpenFailure{};
  if (!path) return frt::kNullPointer;
  f = frt::OpenRegularStream(path, failure);
  if (!f) return failure.NotRegular() ? frt::kFatal : frt::kFileNotFound;
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || st.st_size <= 0) {
    std::fclose(f);
    f = nullptr;
    return frt::kFatal;
  }
  return frt::kOk;
}

// A stream that ends before its first byte is an empty file.
frt::Result CheckStreamNotEmpty(std::FILE* f) {
  if (!f) return frt::kNullPointer;
  int c = std::getc(f);
  if (c == EOF) return std::ferror(f) ? frt::kBadHeader : frt::kFatal;
  std::ungetc(c, f);
  return frt::kOk;
}

}  // namespace

// --- header

frt::Result CFrtFile::ReadTypeLine(const char* line, int checkOnly) {
  if (!line) return frt::kNullPointer;
  if (!parse_.attached || !parse_.format) return frt::kNotAttached;
  if (parse_.typeAccepted) return frt::kOk;
  if (line[0] != '@') return frt::kBadFormatFile;
  if (std::strncmp(line, "@t:FRT", 6) == 0) {
    parse_.fileKind = CFrtParseState::kCurrent;
    parse_.headerLines = 6;
  } else if (std::strncmp(line, "@frt_orig", 9) == 0) {
    parse_.fileKind = CFrtParseState::kOlder;
    parse_.headerLines = 1;
  } else {
    parse_.fileKind = CFrtParseState::kUnknownKind;
    return frt::kBadFormatFile;
  }
  parse_.typeAccepted = 1;
  if (!checkOnly) SetType(line + 3);
  return frt::kOk;
}

frt::Result CFrtFile::ReadHeaderLines(std::FILE* f, int checkOnly, int requireCurrent) {
  char line[kLineBuffer];
  ReadStatus st = ReadLine(f, line, parse_);
  if (st != ReadStatus::kLine) return frt::kBadHeader;
  frt::Result r = ReadTypeLine(line, checkOnly);
  if (r != frt::kOk) return r;
  if (parse_.fileKind != CFrtParseState::kCurrent)
    return requireCurrent ? frt::kBadFormatFile : frt::kOk;

  static constexpr char kLetters[] = "ivacdol";
  for (int i = 0; i < 7; ++i) {
    if (ReadLine(f, line, parse_) != ReadStatus::kLine) return frt::kBadHeader;
    const char letter = kLetters[i];
    if (line[0] != '@' || line[1] != letter) return frt::kBadFormatFile;
    // The third character is a separator nobody checks; a line of two characters has no value.
    char* value = line + (line[2] ? 3 : 2);
    if (letter == 'i') {
      if (!parse_.attached) return frt::kNotAttached;
      ++parse_.bodyLines;
      parse_.instrumentSeen = 1;
    }
    if (letter == 'o') {
      for (std::size_t k = 0; k < 200 && line[k]; ++k) {
        if (line[k] == '\x12') line[k] = '\r';
        if (line[k] == '\x15') line[k] = '\n';
      }
    }
    if (checkOnly) continue;
    switch (letter) {
      case 'i':
        SetInstrument(value);
        break;
      case 'v':
        SetVersion(value);
        break;
      case 'a':
        SetAuthor(value);
        break;
      case 'c':
        SetCompany(value);
        break;
      case 'd':
        SetDate(value);
        break;
      case 'o':
        SetComment(value);
        break;
      case 'l':
        SetTemplateName(value);
        break;
    }
  }
  return frt::kOk;
}

frt::Result CFrtFile::ReadHeaderStream(std::FILE* f, int checkOnly, int requireCurrent) {
  frt::Result r = CheckStreamNotEmpty(f);
  if (r != frt::kOk) return r;
  parse_.fileLine = 0;
  parse_.lineOpen = 0;
  r = ReadHeaderLines(f, checkOnly, requireCurrent);
  if (r == frt::kOk) headerRead_ = 1;
  return r;
}

frt::Result CFrtFile::ReadFile(const char* path, StreamRead read, int checkOnly,
                               int requireCurrent) {
  std::FILE* f = nullptr;
  frt::Result r = OpenForReading(path, f, openFailure_);
  if (r != frt::kOk) return r;
  r = (this->*read)(f, checkOnly, requireCurrent);
  std::fclose(f);
  return r;
}

frt::Result CFrtFile::ReadHeader(const char* path, int checkOnly, int requireCurrent) {
  return ReadFile(path, &CFrtFile::ReadHeaderStream, checkOnly, requireCurrent);
}

// --- body

frt::Result CFrtFile::LoadStream(std::FILE* f, int checkOnly, int requireCurrent) {
  frt::Result r = CheckStreamNotEmpty(f);
  if (r != frt::kOk) return r;
  char line[kLineBuffer];
  if (headerRead_) {
    // The header was read before: pass over its lines without storing them again.
    const int lines = parse_.fileKind == CFrtParseState::kOlder ? 1 : 8;
    parse_.fileLine = 0;
    parse_.lineOpen = 0;
    for (int i = 0; i < lines; ++i) {
      if (ReadLine(f, line, parse_) != ReadStatus::kLine) return frt::kBadHeader;
      if (line[0] != '@') return frt::kBadFormatFile;
    }
  } else {
    r = ReadHeaderStream(f, checkOnly, requireCurrent);
    if (r != frt::kOk) return r;
  }

  r = frt::kOk;
  for (;;) {
    ReadStatus st = ReadLine(f, line, parse_);
    if (st == ReadStatus::kError) return frt::kBadHeader;
    if (st == ReadStatus::kEnd) break;
    r = ParseBodyLine(line);
    if (r != frt::kOk) return r;
  }
  return CheckComplete() == frt::kOk ? frt::kOk : frt::kLoadError;
}

frt::Result CFrtFile::Load(const char* path, int checkOnly, int requireCurrent) {
  return ReadFile(path, &CFrtFile::LoadStream, checkOnly, requireCurrent);
}

frt::Result CFrtFile::ParseBodyLine(const char* line) {
  if (!line) return frt::kNullPointer;
  if (!parse_.attached) return frt::kNotAttached;
  if (!parse_.typeAccepted || parse_.fileKind == CFrtParseState::kUnknownKind)
    return frt::kBadFormatFile;
  ++parse_.bodyLines;
  if (parse_.fileKind == CFrtParseState::kCurrent) {
    if (!parse_.instrumentSeen) return frt::kWrongInstrument;
    return ParseCurrentLine(line);
  }
  return ParseOlderLine(line);
}

bool CFrtFile::MarkSeen(std::uint16_t bit) {
  if (parse_.bodySeen & bit) return false;
  parse_.bodySeen |= bit;
  return true;
}

frt::Result CFrtFile::ParseScale(const char* p, int unitType, bool trailingAllowed) {
  p = SkipSpace(p);
  double v = 0;
  if (!ReadDouble(p, v)) return frt::kBadFormatFile;
  if (!trailingAllowed && *p) return frt::kBadFormatFile;
  SetScale(unitType, v);
  return frt::kOk;
}

frt::Result CFrtFile::ParseCurrentLine(const char* line) {
  const char* p = SkipSpace(line);
  if (!*p) return frt::kOk;
  switch (p[0]) {
    case '#':
    case '&': {
      const UnitTag* u = FindUnitTag(p[1]);
      if (!u) return frt::kBadFormatFile;
      const bool unit = p[0] == '#';
      if (!MarkSeen(unit ? u->unitBit : u->scaleBit)) return frt::kBadFormatFile;
      if (!unit) return ParseScale(p + 2, u->unitType, true);
      SetUnitCode(CFrtUnitPair{u->unitType, *SkipSpace(p + 2)});
      return frt::kOk;
    }
    case '%':
      if (p[1] != 'N' || !MarkSeen(CFrtParseState::kName)) return frt::kBadFormatFile;
      SetName(SkipSpace(p + 2));
      return frt::kOk;
    case '@': {
      if (p[1] != 'D') return frt::kBadFormatFile;
      int dataType = 0;
      std::uint16_t bit = 0;
      switch (p[2]) {
        case 'd':
          dataType = 1, bit = CFrtParseState::kDefaultD;
          break;
        case 'f':
          dataType = 8, bit = CFrtParseState::kDefaultF;
          break;
        case 's':
          dataType = 11, bit = CFrtParseState::kDefaultS;
          break;
        default:
          return frt::kBadFormatFile;
      }
      if (!MarkSeen(bit)) return frt::kBadFormatFile;
      SetDefaultString(dataType, p + 3);
      return frt::kOk;
    }
    case '/':
      return p[1] == '/' ? frt::kOk : frt::kBadFormatFile;
    case '$':
      return ParseStringLine(p + 1);
    default:
      return frt::kBadFormatFile;
  }
}

frt::Result CFrtFile::ParseStringLine(const char* p) {
  unsigned direction = 0, section = 0, block = 0, number = 0;
  if (!ReadDigits(p, 1, direction) || !ReadDigits(p, 1, section) || !ReadDigits(p, 2, block) ||
      !ReadDigits(p, 3, number))
    return frt::kBadFormatFile;
  CFrtString* s = nullptr;
  frt::Result r =
      AddString(CFrtKey{static_cast<std::uint8_t>(direction), static_cast<std::uint8_t>(section),
                        static_cast<std::uint8_t>(block), static_cast<std::uint16_t>(number)},
                s);
  if (r != frt::kOk) return r;
  s->fileLine = parse_.fileLine;
  p = SkipSpace(p);
  char text[kLineBuffer];
  if (!ReadQuoted(p, text)) return frt::kBadFormatFile;
  s->SetText(text);

  if (section == CFrtKey::kFileHeader || section == CFrtKey::kFileFooter)
    return *p ? frt::kBadFormatFile : frt::kOk;
  if (section == CFrtKey::kApplicationString && *p != ';') return frt::kBadFormatFile;
  while (*p && *p != ';') {
    unsigned unitType = 0, dataType = 0, unitCode = 0, options = 0, code = 0;
    if (!ReadDigits(p, 1, unitType) || !ReadDigits(p, 2, dataType) || !ReadDigits(p, 2, unitCode) ||
        !ReadDigits(p, 1, options) || !ReadDigits(p, 3, code))
      return frt::kBadFormatFile;
    if (unitType != 0 && unitCode > 1 && (unitCode < 10 * unitType || unitCode > 10 * unitType + 9))
      return frt::kBadFormatFile;
    CFrtVariable v;
    v.code = static_cast<std::uint16_t>(code);
    v.unitType = static_cast<std::uint8_t>(unitType);
    v.dataType = static_cast<std::uint8_t>(dataType);
    v.unitCode = static_cast<std::uint8_t>(unitCode);
    v.options = static_cast<std::uint8_t>(options);
    s->AddVariable(v);
  }
  if (!*p) return frt::kOk;
  if (section == CFrtKey::kBlockAux) return frt::kBadFormatFile;
  for (++p; *p;) {
    unsigned application = 0;
    if (!ReadDigits(p, 3, application)) return frt::kBadFormatFile;
    r = s->AddApplication(static_cast<std::uint16_t>(application));
    if (r != frt::kOk) return r;
  }
  return frt::kOk;
}

// Reads the quoted text of an older-variant line into a new string with the given key; the line
// must end behind the text unless codes may follow.
frt::Result CFrtFile::ParseOlderString(const char* p, const CFrtKey& key, CFrtString*& s) {
  frt::Result r = AddString(key, s);
  if (r != frt::kOk) return r;
  s->fileLine = parse_.fileLine;
  p = SkipSpace(p);
  if (*p != '"') return frt::kBadFormatFile;
  const bool withCodes = key.section == CFrtKey::kBlockString;
  if (withCodes && std::strlen(p + 1) > frt::older::kBlockLineRest) return frt::kBadFormatFile;
  char text[kLineBuffer];
  if (!ReadQuoted(p, text)) return frt::kBadFormatFile;
  s->SetText(text);
  if (!withCodes) return *p ? frt::kBadFormatFile : frt::kOk;
  while (*p) {
    unsigned code = 0;
    if (!ReadDigits(p, 3, code)) return frt::kBadFormatFile;
    CFrtVariable v;
    v.code = static_cast<std::uint16_t>(code);
    s->AddVariable(v);
  }
  return frt::kOk;
}

frt::Result CFrtFile::ParseOlderLine(const char* line) {
  const char* p = SkipSpace(line);
  if (!*p) return frt::kOk;
  using frt::older::NumberOf;
  CFrtString* s = nullptr;
  const auto blockKey = [](int section, int block) {
    return CFrtKey{CFrtKey::kExport, static_cast<std::uint8_t>(section),
                   static_cast<std::uint8_t>(block), 0};
  };
  switch (p[0]) {
    case '#': {
      const char* allowed = nullptr;
      int unitType = 0;
      std::uint16_t bit = 0;
      if (p[1] == 'L')
        allowed = frt::older::kLinearUnits, unitType = 2, bit = CFrtParseState::kUnitL;
      else if (p[1] == 'W')
        allowed = frt::older::kAngularUnits, unitType = 1, bit = CFrtParseState::kUnitW;
      else
        return frt::kBadFormatFile;
      if (!MarkSeen(bit)) return frt::kBadFormatFile;
      const char code = *SkipSpace(p + 2);
      if (!frt::older::IsOneOf(allowed, code)) return frt::kBadFormatFile;
      SetUnitCode(CFrtUnitPair{unitType, code});
      return frt::kOk;
    }
    case '%':
      if (p[1] != 'N' || !MarkSeen(CFrtParseState::kName)) return frt::kBadFormatFile;
      SetName(SkipSpace(p + 2));
      return frt::kOk;
    case '&':
      if (p[1] == 'C' || p[1] == 'P') return frt::kOk;
      if (p[1] == 'L' || p[1] == 'W') {
        const UnitTag* u = FindUnitTag(p[1]);
        if (!MarkSeen(u->scaleBit)) return frt::kBadFormatFile;
        return ParseScale(p + 2, u->unitType, false);
      }
      return frt::kBadFormatFile;
    case '$': {
      const int block = NumberOf(frt::older::kBlocks, p[1]);
      if (block < 0) return frt::kBadFormatFile;
      return ParseOlderString(p + 2, blockKey(CFrtKey::kBlockString, block), s);
    }
    case '@':
      if (p[1] == '_') {
        const int block = NumberOf(frt::older::kBlocks, p[2]);
        if (block < 0) return frt::kBadFormatFile;
        return ParseOlderString(p + 3, blockKey(CFrtKey::kBlockAux, block), s);
      }
      if (p[1] == 'A') {
        const int application = NumberOf(frt::older::kApplications, p[2]);
        if (application < 0) return frt::kBadFormatFile;
        frt::Result r = ParseOlderString(p + 3, blockKey(CFrtKey::kApplicationString, 0), s);
        if (r != frt::kOk) return r;
        return s->AddApplication(static_cast<std::uint16_t>(application));
      }
      if (p[1] == 'B' && (p[2] == 'A' || p[2] == 'E'))
        return ParseOlderString(
            p + 3, blockKey(p[2] == 'A' ? CFrtKey::kFileHeader : CFrtKey::kFileFooter, 0), s);
      return frt::kBadFormatFile;
    default:
      return frt::kBadFormatFile;
  }
}

frt::Result CFrtFile::CheckComplete() const {
  using S = CFrtParseState;
  const bool current = parse_.fileKind == S::kCurrent;
  const auto all = [&](std::uint16_t bits) { return (parse_.bodySeen & bits) == bits; };
  if (!all(S::kUnitW | S::kUnitL) || (current && !all(S::kUnitT | S::kUnitP)))
    return frt::kMissingUnits;
  if (!all(S::kScaleW | S::kScaleL) || (current && !all(S::kScaleT | S::kScaleP)))
    return frt::kMissingScales;
  if (current && !all(S::kDefaultD | S::kDefaultF | S::kDefaultS)) return frt::kMissingDefaults;
  return frt::kOk;
}
