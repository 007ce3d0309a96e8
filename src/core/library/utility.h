#pragma once
// Small text, number and file helpers shared by the user-interface subsystems, and the item
// numbers with which the tree, the editor and the document name the parts of a format.
// None of them keeps state; numbers are read and written with a decimal point whatever the locale.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "frt_result.h"

class CUtility {
 public:
  CUtility() = delete;

  // An item number split into its parts: category part (a multiple of 1,000,000), first and
  // second index.
  struct ItemParts {
    int category = 0;
    int first = 0;
    int second = 0;
    friend bool operator==(const ItemParts&, const ItemParts&) = default;
  };

  static constexpr int kFileHeaderItem = 14000000;
  static constexpr int kFileFooterItem = 15000000;
  // Widths above this are cut to it: no text of the system is wider.
  static constexpr int kMaxWidth = 200;

  // n in decimal; with width >= 1 zero-padded to width characters, the sign counting as one
  // ("-07" for -7 and width 3), as printf's "%0*d" does.
  static std::string IntToText(long long n, int width = 0);
  // value in fixed notation with the given number of decimals (0 to 100; others are clamped).
  static std::string FloatToText(double value, int decimals);
  // The leading decimal number of the text after white space and an optional sign; 0 when there
  // is none. TextToLong saturates at the limits of long; TextToDouble gives +-HUGE_VAL or 0.
  static long TextToLong(std::string_view text);
  static double TextToDouble(std::string_view text);

  static const char* LoadText(int id);
  static const char* ResultText(frt::Result code);
  // The items FillCombo puts into a combo box: entry id split at each ','.
  static std::vector<std::string> ComboItems(int id);

  // The part of text before the first separator; text keeps what follows it. Without a separator
  // the whole text is returned and text becomes empty.
  static std::string SplitFirst(std::string& text, char separator);

  static int MakeItemNumber(int categoryPart, int first, int second);
  static ItemParts SplitItemNumber(int n);
  static int FirstIndex(int n);
  // True when n / 1,000,000 lies in 10 to 19 (the format-string items).
  static bool IsGroupOneItem(int n);

  // The run of ASCII digits at the start, or at the end, of the text ("" when there is none).
  static std::string LeadingDigits(std::string_view text);
  static std::string TrailingDigits(std::string_view text);

  // File helpers of the binary pool file. Counts and lengths are 32-bit unsigned little-endian.
  // All return 1 on success and 0 on failure. A failed write (also to a null file) shows "error
  // writing to file" and a read error of the file system "error read from file" through the
  // message service, both as error messages without a string-table entry (id 0, the text as
  // extra); a file that simply ends early, or reading from a null file, shows nothing.
  static int WriteBytes(std::FILE* file, const void* data, std::size_t size);
  static int ReadBytes(std::FILE* file, void* data, std::size_t size);
  static int WriteUInt32(std::FILE* file, std::uint32_t value);
  static int ReadUInt32(std::FILE* file, std::uint32_t& value);
  // A text as its length followed by its bytes, without NUL.
  static int WriteText(std::FILE* file, std::string_view text);
  // Reads a text written by WriteText. A length above maxLength fails before anything more is
  // read or allocated; text is then left empty.
  static int ReadText(std::FILE* file, std::string& text, std::size_t maxLength);
};
