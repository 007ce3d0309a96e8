// pool.dat: load, save to another file, load that again: the two pools must be equal.
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_common.h"
#include "pool/string_pool.h"

namespace {

bool SameEntry(const CFrtStringEx& a, const CFrtStringEx& b) {
  if (!(a.key == b.key) || a.TextView() != b.TextView() || a.Variables() != b.Variables())
    return false;
  for (int i = 0; i < 5; ++i)
    if (!(a.extra[i] == b.extra[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("pool.dat");
  const std::string copy = fuzz::ScratchPath("pool-copy.dat");
  fuzz::WriteFile(path, data, size);
  unlink(copy.c_str());
  CStringPool pool(path);
  const frt::Result r = pool.Load();
  if (r != frt::kOk && r != frt::kLoadError) std::abort();
  if (pool.IsModified()) std::abort();  // a load never leaves anything to save
  if (r != frt::kOk) return 0;

  CStringPool saved(copy);
  for (const auto& [name, entry] : pool.Entries()) {
    auto e = std::make_unique<CFrtStringEx>();
    e->key = entry->key;
    e->SetText(entry->TextView());
    for (const CFrtVariable& v : entry->Variables()) e->AddVariable(v);
    for (int i = 0; i < 5; ++i) e->extra[i] = entry->extra[i].view();
    saved.Add(std::move(e));
  }
  saved.MarkModified();
  if (saved.Save() != frt::kOk) std::abort();

  CStringPool again(copy);
  if (again.Load() != frt::kOk) std::abort();
  if (again.EntryCount() != pool.EntryCount()) std::abort();
  auto it = again.Entries().begin();
  for (const auto& [name, entry] : pool.Entries()) {
    if (it->first != name || !SameEntry(*it->second, *entry)) std::abort();
    ++it;
  }
  // The cyclic cursor and the searches walk whatever was loaded.
  CFrtStringEx* found = nullptr;
  if (!pool.Entries().empty()) {
    const CFrtStringEx& first = *pool.Entries().begin()->second;
    pool.FindFirst(first.key, first.extra[kPoolTemplate].view(), found);
    while (pool.FindNext() != nullptr) {
    }
  }
  pool.NextCyclic();
  pool.Count(1, -1);
  return 0;
}
