// .frt reader: the document's road (ReadHeader, then Load on the same object, from a file) and
// Load alone (from a memory stream). A file that loads must write out in the current variant
// and read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_common.h"
#include "library/frt_file.h"
#include "library/frt_stream.h"

namespace {

// The current variant of a format; false when the writer refuses it (a direction other than 1
// and 2 is read but cannot be written).
bool WriteCurrent(CFrtFile& f, std::string& out) {
  frt::StringOutStream stream;
  const frt::Result r = f.WriteFrt(&stream);
  if (r != frt::kOk && r != frt::kBadFormatFile) std::abort();
  out = stream.str();
  return r == frt::kOk;
}

frt::Result LoadBytes(CFrtFile& f, const std::string& bytes) {
  std::FILE* s = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  if (s == nullptr) std::abort();
  const frt::Result r = f.LoadStream(s, 0, 0);
  std::fclose(s);
  return r;
}

// What a loaded format writes must read back; after that, writing and reading change nothing
// (the first write may drop what the file cannot hold, such as an import string's applications).
void CheckRoundTrip(CFrtFile& loaded) {
  std::string first;
  if (!WriteCurrent(loaded, first)) return;
  CFrtFileEx again;
  again.SetListCapacity(loaded.ListCapacity());
  const frt::Result r = LoadBytes(again, first);
  if (r != frt::kOk) std::abort();
  std::string second, third;
  if (!WriteCurrent(again, second)) std::abort();
  CFrtFileEx third_load;
  third_load.SetListCapacity(loaded.ListCapacity());
  if (LoadBytes(third_load, second) != frt::kOk) std::abort();
  if (!WriteCurrent(third_load, third) || third != second) std::abort();
  // The older variant may refuse what it cannot hold, but must not fail otherwise.
  frt::StringOutStream older;
  const frt::Result o = loaded.WriteFrtOrig(&older);
  if (o != frt::kOk && o != frt::kOlderVariant && o != frt::kBadFormatFile) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // As the document opens a file: header first, then the rest into the same object.
  const std::string path = fuzz::ScratchPath("in.frt");
  fuzz::WriteFile(path, data, size);
  {
    CFrtFileEx f;
    f.SetListCapacity(64);
    if (f.ReadHeader(path.c_str(), 0, 1) == frt::kOk && f.Load(path.c_str(), 0, 0) == frt::kOk)
      CheckRoundTrip(f);
  }
  // Load alone, with the default capacity, from memory.
  if (size > 0) {
    std::FILE* s = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (s == nullptr) std::abort();
    CFrtFile f;
    const frt::Result r = f.LoadStream(s, 0, 0);
    std::fclose(s);
    if (r == frt::kOk) CheckRoundTrip(f);
  }
  return 0;
}
