// Texts for the terminal: file bytes are GBK, the terminal speaks UTF-8, one message per line.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli_command.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "library/text_encoding.h"
#include "shell/qv_workspace.h"

namespace cli {

std::string ToTerminal(const std::string& gbk) {
  return frt::GbkToUtf8(gbk);
}

std::string AnyToTerminal(const std::string& text) {
  return frt::IsValidUtf8(text) ? text : frt::GbkToUtf8(text);
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

void PrintFault(const std::string& subject, const std::string& text) {
  std::fprintf(stderr, "frtool: %s: %s\n", subject.c_str(), text.c_str());
}

void WarnIfUtf8(const std::string& path, const CDocFormat& format) {
  if (format.TextLooksLikeUtf8())
    PrintFault(path, "warning: " + OneLine(frt::LoadText(frt::kIdTextLooksLikeUtf8)));
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
    if (!subject_.empty())
      PrintFault(subject_,
                 (m.kind == CMessage::Kind::kWarning ? "warning: " : "") + MessageLine(m));
    else if (m.caption.empty())
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
  options.holdSettingsFile = false;  // a running editor keeps its settings file writable
  const bool ok = workspace.Start(options);
  if (!ok) context.messages.PrintAll();
  return ok;
}

}  // namespace cli
