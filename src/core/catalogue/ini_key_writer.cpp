#include "catalogue/ini_key_writer.h"

#include <vector>

#include "library/out_of_memory.h"

namespace frt {
namespace {

struct LineSpan {
  std::size_t begin;       // first byte
  std::size_t contentEnd;  // before the line end
  std::size_t end;         // after the line end (== contentEnd for a last line without one)
};

std::vector<LineSpan> SplitLines(const std::string& text) {
  std::vector<LineSpan> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t nl = text.find('\n', begin);
    if (nl == std::string::npos) {
      lines.push_back({begin, text.size(), text.size()});
      break;
    }
    const std::size_t contentEnd = nl > begin && text[nl - 1] == '\r' ? nl - 1 : nl;
    lines.push_back({begin, contentEnd, nl + 1});
    begin = nl + 1;
  }
  return lines;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n", 0) != s.npos || s.find('\0') != s.npos;
}

bool IsBlank(std::string_view s) {
  return s.find_first_not_of(" \t\r") == s.npos;
}

}  // namespace

Result SetIniKeyInText(std::string& text, std::string_view section, std::string_view key,
                       std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || key.empty() || key[0] == ';' || key[0] == ' ' ||
      key[0] == '[') {
    return kBadName;
  }
  if (HasLineBreak(value)) return kBadData;

  GuardAllocation([&] {
    const std::vector<LineSpan> lines = SplitLines(text);
    const std::string eol =
        !lines.empty() && lines[0].end > lines[0].contentEnd + 1 ? "\r\n" : "\n";
    const std::string header = "[" + std::string(section) + "]";
    auto content = [&](const LineSpan& l) {
      return std::string_view(text).substr(l.begin, l.contentEnd - l.begin);
    };

    bool inSection = false;
    std::size_t firstHeader = lines.size();
    std::size_t lastFilled = lines.size();  // last non-blank line of the first block
    bool firstBlockOpen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string_view c = content(lines[i]);
      if (!c.empty() && c[0] == '[') {
        inSection = c == header;
        firstBlockOpen = inSection && firstHeader == lines.size();
        if (firstBlockOpen) {
          firstHeader = i;
          lastFilled = i;
        }
        continue;
      }
      if (!inSection) continue;
      if (c.size() > key.size() && c[key.size()] == '=' && c.substr(0, key.size()) == key) {
        const std::size_t valueBegin = lines[i].begin + key.size() + 1;
        text.replace(valueBegin, lines[i].contentEnd - valueBegin, value);
        return;
      }
      if (firstBlockOpen && !IsBlank(c)) lastFilled = i;
    }

    std::string entry = std::string(key) + "=" + std::string(value);
    if (firstHeader < lines.size()) {
      const LineSpan& after = lines[lastFilled];
      if (after.end > after.contentEnd) {
        text.insert(after.end, entry + eol);
      } else {
        text.insert(after.end, eol + entry);  // the file ends without a line end; keep it so
      }
      return;
    }
    if (!text.empty() && text.back() != '\n') text += eol;
    text += header + eol + entry + eol;
  });
  return kOk;
}

Result WriteIniKey(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value, FileSystem* fs) {
  FileSystem& files = fs != nullptr ? *fs : FileSystem::Posix();
  std::string text;
  const Result read = files.ReadAll(path, text);
  if (read == kFileNotFound) {
    text.clear();
  } else if (read != kOk) {
    return kCannotSave;
  }
  const Result edited = SetIniKeyInText(text, section, key, value);
  if (edited != kOk) return edited;
  return WriteFileSafely(path, text, &files);
}

}  // namespace frt
