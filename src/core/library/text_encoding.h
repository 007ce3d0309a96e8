#pragma once
// Conversion between the GBK bytes of the data files and the UTF-8 of the user interface.
//
// The core keeps and compares bytes; only the boundaries convert. GBK here is glibc's "GBK"
// (single byte 0x80 is the euro sign); every valid sequence converts back to the same bytes.
//
// Bytes that are not valid GBK (0xFF, a lead byte with a bad trail, a lead byte cut off at the
// end) never stop a conversion. There are two ways to carry them:
//  - For showing: GbkToUtf8 turns each such byte into U+FFFD. That text cannot give the bytes
//    back; Utf8ToGbk writes '?' for it.
//  - For editing: GbkToUtf8Lossless turns each such byte b (always 0x80..0xFF) into the
//    private-use code point U+F700 + b, and Utf8ToGbkLossless turns those code points back into
//    the byte. So Utf8ToGbkLossless(GbkToUtf8Lossless(x)) == x for every byte string x, and a
//    text the user did not touch is written back unchanged. (A user who types U+F780..U+F7FF
//    gets raw bytes; nothing in GBK decodes to that range.)
// Characters that GBK cannot hold, and bytes that are not valid UTF-8, become '?' on the way
// back; the number of such replacements is reported through `replaced`.
#include <cstddef>
#include <string>
#include <string_view>

namespace frt {

inline constexpr char32_t kGbkEscapeBase = 0xF700;  // + byte, for bytes 0x80..0xFF

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8, std::size_t* replaced = nullptr);

std::string GbkToUtf8Lossless(std::string_view gbk);
std::string Utf8ToGbkLossless(std::string_view utf8, std::size_t* replaced = nullptr);

// True when every byte of the text belongs to a valid GBK character.
bool IsValidGbk(std::string_view gbk);
// True when the text is well-formed UTF-8 (no overlong forms, surrogates or cut-off sequences).
bool IsValidUtf8(std::string_view text);
// True when the text is not valid GBK but is valid UTF-8: a data file saved in the wrong encoding.
// Text that is valid as both counts as GBK, the encoding of the files.
bool LooksLikeUtf8(std::string_view text);

}  // namespace frt
