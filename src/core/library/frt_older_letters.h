#pragma once
// Letters by which the older file variant names its block types, applications and units, and its
// line limit. Shared by the writer and the reader so that both sides agree on the one table.

#include <cstddef>

namespace frt::older {

struct Letter {
  int number;
  char letter;
};

// Block types in the order the older variant writes them.
inline constexpr Letter kBlocks[] = {{10, 'M'}, {11, 'S'}, {19, 'O'},
                                     {12, 'C'}, {13, 'J'}, {14, 'F'}};
// Applications with a letter; the writer writes only the first four, in this order.
inline constexpr Letter kApplications[] = {
    {102, 'F'}, {101, 'S'}, {104, 'T'}, {103, 'A'}, {106, 'R'}};
inline constexpr int kWrittenApplications = 4;
// Unit code letters the older variant knows, linear and angular; it has no other unit types.
inline constexpr char kLinearUnits[] = "FMX";
inline constexpr char kAngularUnits[] = "DGRSX";
// The most bytes a block string line may hold after its opening quote: text, closing quote and
// three digits per variable.
inline constexpr std::size_t kBlockLineRest = 1929;

// True when `letter` is one of the letters of `set` (never for NUL).
constexpr bool IsOneOf(const char* set, char letter) {
  for (; letter != '\0' && *set; ++set)
    if (*set == letter) return true;
  return false;
}

template <std::size_t N>
constexpr char LetterOf(const Letter (&table)[N], int number) {
  for (const Letter& l : table)
    if (l.number == number) return l.letter;
  return 0;
}

template <std::size_t N>
constexpr int NumberOf(const Letter (&table)[N], char letter) {
  for (const Letter& l : table)
    if (l.letter == letter) return l.number;
  return -1;
}

}  // namespace frt::older
