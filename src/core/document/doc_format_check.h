#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "document/catalogue_pool_lookup.h"

class CDocFormat;
class CFrtFileEx;
class CFrtString;
class CFrtStringEx;
class CFormatTemplate;

// The strict checks of a format just read from a file, against its template and the settings
// profile. Made for one load; each check shows the first problem as an error message and
// returns false.
class CDocFormatCheck {
 public:
  // Line numbers in the messages are the string's list position plus this.
  static constexpr int kFirstStringLine = 21;

  explicit CDocFormatCheck(CDocFormat& document);

  // Instrument in the catalogue, version "1.00" and type "FRT".
  bool CheckHeader();
  // Renames the format after the file when the names differ in more than letter case, then
  // checks the four unit codes against the profile.
  bool CheckNameAndUnits(const std::string& path);
  // Application assignment per export block, then every string against its definition.
  bool CheckFormatStrings();

 private:
  bool Fail(int id, int position) const;
  bool CheckDataBlockString(const CFrtStringEx& s, int position);
  bool CheckHeaderString(const CFrtStringEx& s, int position);
  bool CheckApplicationHeader(const CFrtStringEx& s, int position);
  bool VariablesParse(const CFrtStringEx& s) const;
  void CountStrings();

  CDocFormat& document_;
  CFrtFileEx& format_;
  const CFormatTemplate* template_;
  // Present strings per key record, and per key record and each application they hold (for the
  // header strings); per block and application, the first string ID holding it and whether a string
  // of another ID holds it too.
  std::unordered_map<std::uint64_t, int> keyCounts_;
  std::unordered_map<std::uint64_t, int> keyApplicationCounts_;
  struct Holder {
    std::int32_t firstId = 0;
    bool shared = false;
  };
  std::unordered_map<std::uint32_t, Holder> blockApplications_;
  bool counted_ = false;
  mutable std::optional<CCataloguePoolLookup> pool_;
};
