#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "fixed_text.h"
#include "frt_header.h"
#include "frt_key.h"
#include "frt_parse_state.h"
#include "frt_result.h"
#include "frt_stream.h"
#include "frt_string.h"
#include "safe_file.h"

// Unit codes and scales in storage order: linear, angular, temperature, pressure.
struct CFrtUnitRecord {
  char codes[4] = {'M', 'R', 'C', 'T'};
  double scales[4] = {1.0, 1.0, 1.0, 1.0};
};

// A unit type number (1 angular, 2 linear, 3 temperature, 4 pressure) with its code letter.
struct CFrtUnitPair {
  int unitType = 0;
  char code = 0;
};

// What a write of the older variant could not take: the strings it left out, by kind, and when it
// refused the format (kOlderVariant), the first thing it cannot hold.
struct CFrtOlderReport {
  enum class Refusal { kNone, kLinearUnit, kAngularUnit, kBlock, kApplication, kLongBlockString };
  int imports = 0;       // import strings
  int applications = 0;  // application strings of no written application (106, or none)
  int numbered = 0;      // strings with a number above 0 in their key
  int further = 0;       // more strings of a place that holds one, sections the variant lacks
  Refusal refusal = Refusal::kNone;
  // The unit letter, block type or application of the refusal.
  int refused = 0;

  int Omitted() const { return imports + applications + numbered + further; }
  bool operator==(const CFrtOlderReport&) const = default;
};

// One format in memory: header, units, scales, default output strings, name and format strings.
class CFrtFile {
 public:
  static constexpr int kDefaultCapacity = 27;
  static constexpr int kNoFilter = -1;
  static constexpr std::uint16_t kAnyApplication = 65535;
  static constexpr std::size_t kTextCapacity = 200;
  enum Variant { kCurrentVariant = 1, kOlderVariant = 2 };

  CFrtFile();
  explicit CFrtFile(const CFrtUnitRecord& units);
  virtual ~CFrtFile();
  CFrtFile(const CFrtFile&) = delete;
  CFrtFile& operator=(const CFrtFile&) = delete;

  // --- strings
  virtual frt::Result InitList();
  virtual frt::Result AddString(const CFrtKey& key, CFrtString*& out);
  virtual frt::Result FindApplicationString(CFrtString*& out, int application);
  virtual frt::Result FindBlockAuxString(CFrtString*& out, int block);
  virtual frt::Result FindHeaderString(CFrtString*& out);
  virtual frt::Result FindFooterString(CFrtString*& out);

  frt::Result SetListCapacity(int n);
  int ListCapacity() const { return capacity_; }
  int StringCount() const { return static_cast<int>(strings_.size()); }
  CFrtString* StringAt(int i) const;
  frt::Result Find(CFrtString*& out, const CFrtKey& key, int applicationFilter);
  frt::Result FindNext(CFrtString*& out);
  int CountMatching(const CFrtKey& key, std::uint16_t application) const;
  frt::Result FindByIdentity(CFrtString*& out, std::int32_t identity) const;
  std::uint8_t DirectionsPresent() const { return directions_; }

  // --- defaults, units, scales, name
  frt::Result SetDefaultString(int dataType, std::string_view text);
  const char* DefaultString(int dataType) const;
  frt::Result SetScale(int unitType, double value);
  double Scale(int unitType) const;
  frt::Result SetUnitCode(const CFrtUnitPair& pair);
  void UnitCode(CFrtUnitPair& pair) const;
  char UnitCodeOf(int unitType) const;
  frt::Result SetName(const char* name);
  const char* Name() const { return name_.c_str(); }

  // --- header
  void SetType(std::string_view s) { header_.type = s; }
  void SetInstrument(std::string_view s) { header_.instrument = s; }
  void SetVersion(std::string_view s) { header_.version = s; }
  void SetAuthor(std::string_view s) { header_.author = s; }
  void SetCompany(std::string_view s) { header_.company = s; }
  void SetDate(std::string_view s) { header_.date = s; }
  void SetComment(std::string_view s) { header_.comment = s; }
  void SetTemplateName(std::string_view s) { header_.templateName = s; }
  frt::Result CopyHeaderTo(CFrtHeader& header) const;
  frt::Result SetHeader(const CFrtHeader& header);
  const CFrtHeader& Header() const { return header_; }

  // --- writer
  frt::Result Save(const char* path, int variant);
  frt::Result WriteFrt(frt::OutStream* stream);
  // `report` (when given) receives what the older variant could not take.
  frt::Result WriteFrtOrig(frt::OutStream* stream, CFrtOlderReport* report = nullptr);
  frt::Result WriteStringLine(frt::OutStream* stream, CFrtString* string);
  std::uint8_t OlderVariantFlag() const { return olderVariant_; }

  // --- reader
  frt::Result ReadHeader(const char* path, int checkOnly, int requireCurrent);
  frt::Result Load(const char* path, int checkOnly, int requireCurrent);
  // The same on an open stream (read from its current position).
  frt::Result ReadHeaderStream(std::FILE* f, int checkOnly, int requireCurrent);
  frt::Result LoadStream(std::FILE* f, int checkOnly, int requireCurrent);
  int LineNumber() const { return parse_.headerLines + parse_.bodyLines; }
  const CFrtParseState& ParseState() const { return parse_; }
  std::int32_t HeaderRead() const { return headerRead_; }
  // Why the last ReadHeader or Load could not open its file (nothing failed when it could).
  const frt::OpenFailure& LastOpenFailure() const { return openFailure_; }

 protected:
  virtual std::unique_ptr<CFrtString> NewString() const;

 private:
  static int StorageIndex(int unitType);  // -1 outside 1..4
  frt::FixedText<kTextCapacity>& DefaultSlot(int dataType);

  // Reader internals (frt_reader.cpp).
  using StreamRead = frt::Result (CFrtFile::*)(std::FILE*, int, int);
  // Opens `path` as a format file, hands the stream to `read` and closes it.
  frt::Result ReadFile(const char* path, StreamRead read, int checkOnly, int requireCurrent);
  frt::Result ReadTypeLine(const char* line, int checkOnly);
  frt::Result ReadHeaderLines(std::FILE* f, int checkOnly, int requireCurrent);
  frt::Result ParseBodyLine(const char* line);
  frt::Result ParseCurrentLine(const char* line);
  frt::Result ParseOlderLine(const char* line);
  frt::Result ParseStringLine(const char* p);
  frt::Result ParseOlderString(const char* p, const CFrtKey& key, CFrtString*& s);
  frt::Result ParseScale(const char* p, int unitType, bool trailingAllowed);
  bool MarkSeen(std::uint16_t bit);  // false when the line was seen before
  frt::Result CheckComplete() const;

  char unitCodes_[4];
  double scales_[4];
  frt::FixedText<kTextCapacity> floatDefault_{"0000000000000000"};
  frt::FixedText<kTextCapacity> integerDefault_{"0000000000000000"};
  frt::FixedText<kTextCapacity> stringDefault_{"0000000000000000"};
  int searchPos_ = -1;
  CFrtKey searchKey_;
  std::vector<std::unique_ptr<CFrtString>> strings_;
  int capacity_ = 0;
  bool listCreated_ = false;
  frt::FixedText<kTextCapacity> name_;
  std::uint8_t directions_ = 0;
  CFrtParseState parse_;
  CFrtHeader header_;
  std::uint8_t olderVariant_ = 0;
  std::int32_t headerRead_ = 0;
  frt::OpenFailure openFailure_;
};

// The format kind the document uses: its strings are CFrtStringEx.
class CFrtFileEx : public CFrtFile {
 public:
  using CFrtFile::CFrtFile;

 protected:
  std::unique_ptr<CFrtString> NewString() const override;
};
