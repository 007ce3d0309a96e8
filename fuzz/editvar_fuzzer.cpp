// Variable conversion object: stored texts (reference + conversion) in both directions, and the
// two conversion parsers on their own. A conversion that parses must rebuild to itself.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "catalogue/ini_reader.h"
#include "fuzz_common.h"
#include "profile/qv_profile.h"
#include "settings/qv_edit_var.h"

namespace {

CIniReader* gReader = nullptr;
CQVProfile* gProfile = nullptr;

const CQVPoolTable& Pool() {
  static const CQVPoolTable pool({
      {1, 4, 0, "Pt"},
      {5, 1, 0, "Count"},
      {8, 8, 1, "Hz"},
      {9, 9, 2, "Dist"},
      {10, 10, 3, "Temp"},
      {11, 11, 0, "Name"},
      {12, 12, 0, "Ch"},
      {21, 6, 1, "Angle21"},
      {100, 7, 2, "Plain"},
      {609, 9, 2, "Height"},
  });
  return pool;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  // The shipped settings give the flags and defaults; the profile works on a copy because it
  // changes the file's write bit.
  const std::string copy = fuzz::ScratchPath("QV.ini");
  std::FILE* from = std::fopen(QUARVEL_DATA_DIR "/Global/QV.ini", "rb");
  if (from == nullptr) std::abort();
  std::string bytes;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, from)) > 0) bytes.append(buf, n);
  std::fclose(from);
  fuzz::WriteFile(copy, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  gReader = new CIniReader;
  gProfile = new CQVProfile(*gReader, copy, fuzz::ScratchPath("QV.tpl"), fuzz::ScratchDir());
  if (gProfile->Read() == 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool output = data[0] & 1;
  const auto direction = output ? CQVEditVar::Direction::kOutput : CQVEditVar::Direction::kInput;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string stored = text;
  bool success = false;
  CQVEditVar var(*gProfile, Pool(), stored, direction, success);
  std::string reference;
  // A variable read back from a stored text always has a reference to store again.
  if (success && !var.BuildReference(reference)) std::abort();
  const std::string rebuilt = var.BuildConversionText();
  if (success && rebuilt != var.StoredConversion()) std::abort();

  CQVEditVar fresh(*gProfile, Pool(), 609, direction);
  const bool parsed = output ? fresh.ParseOutputConversion(text) : fresh.ParseInputConversion(text);
  if (parsed && fresh.BuildConversionText() != text) std::abort();
  std::size_t start = 0, length = 0;
  if (CQVEditVar::FindConversion(text, start, length) && start + length > text.size()) std::abort();
  fresh.FlagMask();
  CQVEditVar::FlagDigitOf(fresh.Flags());
  return 0;
}
