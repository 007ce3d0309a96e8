// Texts for the terminal: file bytes are GBK, the terminal speaks UTF-8, one message per line.
#include <algorithm>
#include <string>

#include "cli_command.h"
#include "library/error_message.h"
#include "library/text_encoding.h"

namespace cli {

std::string ToTerminal(const std::string& gbk) {
  return frt::GbkToUtf8(gbk);
}

std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

std::string LoadFailureText(unsigned result, int line) {
  return OneLine(CErrorMessage::LoadErrorText(result, line));
}

}  // namespace cli
