#pragma once
#include <cstdint>

class CFrtFile;

// The reader's bookkeeping, kept inside its format. The two counters sum to the line last handled.
struct CFrtParseState {
  // Body lines that may occur once each.
  enum BodyLine : std::uint16_t {
    kName = 0x0001,
    kUnitW = 0x0004,
    kUnitL = 0x0008,
    kUnitT = 0x0010,
    kUnitP = 0x0020,
    kScaleW = 0x0040,
    kScaleL = 0x0080,
    kScaleT = 0x0100,
    kScaleP = 0x0200,
    kDefaultD = 0x0800,
    kDefaultF = 0x1000,
    kDefaultS = 0x2000,
  };
  enum FileKind : std::uint8_t { kUnknownKind = 0, kCurrent = 1, kOlder = 2 };

  std::int32_t headerLines = 0;  // set when the type line is accepted
  std::int32_t bodyLines = 0;    // grows with the @i line and every body line
  std::int32_t attached = 0;
  std::int32_t typeAccepted = 0;
  std::int32_t instrumentSeen = 0;
  std::uint16_t bodySeen = 0;
  std::uint8_t fileKind = kCurrent;
  CFrtFile* format = nullptr;
  // The line of the file, from 1 and by line ends, that the piece last read belongs to; unlike
  // the counters it does not count the pieces of a long line apart.
  std::int32_t fileLine = 0;
  std::uint8_t lineOpen = 0;  // the piece last read did not end its line

  void Reset() {
    CFrtFile* f = format;
    *this = CFrtParseState{};
    format = f;
    attached = f ? 1 : 0;
  }
};
