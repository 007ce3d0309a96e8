#pragma once
// Texts between the GBK bytes of the data and the UTF-8 of the windows, the one pair every window
// uses. It is lossless, so bytes that are not GBK survive a round trip through a field.
#include <QString>
#include <string>
#include <string_view>

#include "library/string_table.h"
#include "library/text_encoding.h"

namespace qvui {

inline QString FromGbk(std::string_view gbk) {
  return QString::fromStdString(frt::GbkToUtf8Lossless(gbk));
}

inline std::string ToGbk(const QString& text) {
  return frt::Utf8ToGbkLossless(text.toStdString());
}

// A string-table entry.
inline QString Text(int id) {
  return QString::fromUtf8(frt::LoadText(id));
}

// The text in GBK, shortened by whole characters until it fits in `maxBytes`.
inline std::string ToGbk(QString text, std::size_t maxBytes) {
  std::string gbk = ToGbk(text);
  while (gbk.size() > maxBytes && !text.isEmpty()) {
    text.chop(text.size() >= 2 && text.at(text.size() - 1).isLowSurrogate() ? 2 : 1);
    gbk = ToGbk(text);
  }
  return gbk;
}

}  // namespace qvui
