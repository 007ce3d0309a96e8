// Texts for the terminal: file bytes are GBK, the terminal speaks UTF-8, one message per line.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli_command.h"
#include "library/error_message.h"
#include "library/text_encoding.h"
#include "shell/qv_workspace.h"

namespace cli {
namespace {

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (more < 0 || i + more >= s.size()) return false;
    for (int k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += more + 1;
  }
  return true;
}

}  // namespace

std::string ToTerminal(const std::string& gbk) {
  return frt::GbkToUtf8(gbk);
}

std::string AnyToTerminal(const std::string& text) {
  return IsValidUtf8(text) ? text : frt::GbkToUtf8(text);
}

std::string FromTerminal(const std::string& utf8) {
  return frt::Utf8ToGbk(utf8);
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

std::string MessageLine(const CMessage& message) {
  return OneLine(message.text);
}

std::string MessageEntryText(const CMessage& message) {
  std::string text = message.text;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  if (!message.extra.empty() && text.size() >= message.extra.size() &&
      text.compare(text.size() - message.extra.size(), message.extra.size(), message.extra) == 0)
    text.erase(text.size() - message.extra.size());
  return text;
}

bool IsOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-';
}

// The core builds a message from a string-table text (UTF-8) and an extra text that often comes
// from a file (GBK): only the extra part is converted.
void CCliMessageSink::Show(const CMessage& message) {
  // Why a file could not be used ("PATH: reason") goes to stderr at once, whatever the command
  // makes of the message itself.
  if (!message.detail.empty()) std::fprintf(stderr, "frtool: %s\n", message.detail.c_str());
  CMessage m = message;
  m.extra = AnyToTerminal(message.extra);
  std::string text = message.text;
  std::string tail;
  if (!text.empty() && text.back() == '\n') {
    tail = "\n";
    text.pop_back();
  }
  if (!message.extra.empty() && text.size() >= message.extra.size() &&
      text.compare(text.size() - message.extra.size(), message.extra.size(), message.extra) == 0) {
    text.erase(text.size() - message.extra.size());
    m.text = AnyToTerminal(text) + m.extra + tail;
  } else {
    m.text = AnyToTerminal(message.text);
  }
  messages_.push_back(std::move(m));
}

bool CCliMessageSink::Ask(const CMessage& question) {
  Show(question);
  return false;
}

void CCliMessageSink::PrintAll() {
  for (const CMessage& m : messages_) {
    if (m.caption.empty())
      std::fprintf(stderr, "%s\n", MessageLine(m).c_str());
    else
      std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), MessageLine(m).c_str());
  }
  messages_.clear();
}

bool StartWorkspace(Context& context, CQVWorkspace& workspace, bool usePool) {
  CWorkspaceOptions options;
  options.locations.appDir = context.options.appDir;
  options.locations.sharedDir = context.options.sharedDir;
  options.usePool = usePool;
  const bool ok = workspace.Start(options);
  if (!ok) context.messages.PrintAll();
  return ok;
}

}  // namespace cli
