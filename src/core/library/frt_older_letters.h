#pragma once
// Letters by which the older file variant names its block types and applications. Shared by the
// writer and the reader so that both sides agree on the one table.

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
