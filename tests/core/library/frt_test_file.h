#pragma once
// Keys and strings of a format built by hand in a test.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "library/frt_file.h"

namespace frt_test {

inline CFrtKey Key(int direction, int section, int block, int number = 0) {
  return CFrtKey{static_cast<std::uint8_t>(direction), static_cast<std::uint8_t>(section),
                 static_cast<std::uint8_t>(block), static_cast<std::uint16_t>(number)};
}

// Adds a string with `text` under `key`; the list must take it.
inline CFrtString* Add(CFrtFile& f, CFrtKey key, std::string_view text) {
  CFrtString* s = nullptr;
  EXPECT_EQ(f.AddString(key, s), frt::kOk);
  s->SetText(text);
  return s;
}

}  // namespace frt_test
