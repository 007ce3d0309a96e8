#include "error_message.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "string_table.h"

namespace {

CMessageSink& DefaultSink() {
  static CStderrMessageSink sink;
  return sink;
}

// The one installed sink; null means the default one.
CMessageSink* g_sink = nullptr;

// Replaces the "%s" placeholders of a table text in order; placeholders beyond the arguments stay.
std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 64);
  auto arg = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && arg != args.end()) {
      out.append(*arg++);
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

CMessage MakeMessage(int id, CMessage::Kind kind, std::string text, std::string_view extra) {
  CMessage m;
  m.id = id;
  m.kind = kind;
  m.isError = kind == CMessage::Kind::kError;
  if (kind == CMessage::Kind::kError) m.captionId = frt::kIdCaptionError;
  if (kind == CMessage::Kind::kWarning) m.captionId = frt::kIdCaptionWarning;
  m.caption = frt::LoadText(m.captionId);
  m.text = std::move(text);
  m.extra = std::string(extra);
  return m;
}

CMessage::Kind ErrorOrWarning(bool isError) {
  return isError ? CMessage::Kind::kError : CMessage::Kind::kWarning;
}

}  // namespace

CMessageSink* SetMessageSink(CMessageSink* sink) {
  CMessageSink* previous = g_sink ? g_sink : &DefaultSink();
  g_sink = sink == &DefaultSink() ? nullptr : sink;
  return previous;
}

CMessageSink& MessageSink() {
  return g_sink ? *g_sink : DefaultSink();
}

void CStderrMessageSink::Show(const CMessage& message) {
  const char* caption = message.caption.empty() ? "Quarvel" : message.caption.c_str();
  std::fprintf(stderr, "%s: %s", caption, message.text.c_str());
  if (message.text.empty() || message.text.back() != '\n') std::fputc('\n', stderr);
}

bool CStderrMessageSink::Ask(const CMessage& question) {
  std::fprintf(stderr, "Quarvel: %s [no]\n", question.text.c_str());
  return false;
}

bool CRecordingMessageSink::Ask(const CMessage& question) {
  messages_.push_back(question);
  if (answers_.empty()) return defaultAnswer_;
  bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

std::vector<int> CRecordingMessageSink::Ids() const {
  std::vector<int> ids;
  ids.reserve(messages_.size());
  for (const CMessage& m : messages_) ids.push_back(m.id);
  return ids;
}

void CErrorMessage::ShowMessage(int id, bool isError, std::string_view extra,
                                std::string_view detail) {
  std::string text = frt::LoadText(id);
  text.append(extra);
  text.push_back('\n');
  CMessage message = MakeMessage(id, ErrorOrWarning(isError), std::move(text), extra);
  message.detail = std::string(detail);
  MessageSink().Show(message);
}

void CErrorMessage::ShowText(int id, bool isError, std::string_view text) {
  MessageSink().Show(MakeMessage(id, ErrorOrWarning(isError), std::string(text), {}));
}

void CErrorMessage::ShowNotice(int id, std::string_view extra) {
  std::string text = frt::LoadText(id);
  text.append(extra);
  MessageSink().Show(MakeMessage(id, CMessage::Kind::kNotice, std::move(text), extra));
}

bool CErrorMessage::AskYesNo(int id, std::string_view extra) {
  std::string text = frt::LoadText(id);
  text.append(extra);
  return MessageSink().Ask(MakeMessage(id, CMessage::Kind::kQuestion, std::move(text), extra));
}

std::string CErrorMessage::EntryText(std::string_view section, std::string_view key) {
  std::string s = "\n\n[";
  s.append(section);
  s.append("]\n");
  s.append(key);
  s.push_back('=');
  return s;
}

std::string CErrorMessage::RangeText(std::string_view section, std::string_view key,
                                     long long minimum, long long maximum) {
  return EntryText(section, key) + " (Min >= " + std::to_string(minimum) +
         " Max <= " + std::to_string(maximum) + ")";
}

namespace {
// The entry followed by `value` between `open` and `close`.
std::string Enclosed(std::string entry, std::string_view open, std::string_view value, char close) {
  entry.append(open);
  entry.append(value);
  entry.push_back(close);
  return entry;
}
}  // namespace

std::string CErrorMessage::ValueText(std::string_view section, std::string_view key,
                                     std::string_view value) {
  return Enclosed(EntryText(section, key), " [", value, ']');
}

std::string CErrorMessage::EqualsText(std::string_view section, std::string_view key,
                                      std::string_view value) {
  return Enclosed(EntryText(section, key), " (=", value, ')');
}

std::string CErrorMessage::BadFloatText(std::string_view section, std::string_view key,
                                        long long n) {
  return EntryText(section, key) + " (" + frt::LoadText(frt::kIdBadFloat) + std::to_string(n) + ")";
}

std::string CErrorMessage::WriteErrorText(std::string_view section, std::string_view key) {
  return EntryText(section, key) + " (" + frt::LoadText(frt::kIdWriteIniFailed) + ")";
}

std::string CErrorMessage::SaveErrorText(frt::Result code, long long line) {
  return FillPlaceholders(frt::LoadText(frt::kIdSaveFormatFailed),
                          {frt::ResultText(code), std::to_string(line)});
}

std::string CErrorMessage::LoadErrorText(frt::Result code, long long line) {
  return FillPlaceholders(frt::LoadText(frt::kIdLoadFormatFailed),
                          {frt::ResultText(code), std::to_string(line)});
}

void CErrorMessage::ShowSaveError(frt::Result code, long long line) {
  ShowText(frt::kIdSaveFormatFailed, true, SaveErrorText(code, line));
}

void CErrorMessage::ShowLoadError(frt::Result code, long long line) {
  ShowText(frt::kIdLoadFormatFailed, true, LoadErrorText(code, line));
}
