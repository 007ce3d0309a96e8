#pragma once
#include <cstdint>

// Identifies a format string: direction, section, block type and string number.
struct CFrtKey {
  enum Direction : std::uint8_t { kExport = 1, kImport = 2 };
  enum Section : std::uint8_t {
    kBlockString = 1,
    kBlockAux = 2,
    kApplicationString = 3,
    kFileHeader = 4,
    kFileFooter = 5,
    kBlockFallback = 7,
  };

  std::uint8_t direction = kExport;
  std::uint8_t section = kBlockString;
  std::uint8_t block = 0;
  std::uint16_t number = 0;

  friend bool operator==(const CFrtKey&, const CFrtKey&) = default;
};
