#pragma once
// The message service. Every message is a string-table entry by number; it goes to the one
// installed message sink, which the GUI turns into a message box, the command-line tool prints and
// tests record. Yes/no questions take the same road, so tests can answer them.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "frt_result.h"

// One message or question as the user gets to see it.
struct CMessage {
  enum class Kind {
    kError,     // caption 900, error icon
    kWarning,   // caption 901, warning icon
    kNotice,    // plain box under the application's title (captionId 0)
    kQuestion,  // yes/no box under the application's title (captionId 0)
  };
  int id = 0;  // the string-table entry the text starts with (0: none)
  Kind kind = Kind::kError;
  bool isError = false;
  int captionId = 0;
  std::string caption;  // text of captionId, "" for 0
  std::string text;     // the whole text as shown
  std::string extra;    // what was appended to the entry's text
  std::string detail;   // shown apart from the text, e.g. "PATH: the system's reason"
};

class CMessageSink {
 public:
  virtual ~CMessageSink() = default;
  virtual void Show(const CMessage& message) = 0;
  // True for yes.
  virtual bool Ask(const CMessage& question) = 0;
};

// Installs a sink and returns the one it replaces; nullptr installs the default (stderr) sink.
// The caller keeps ownership, and the sink must stay alive while it is installed.
CMessageSink* SetMessageSink(CMessageSink* sink);
// The installed sink; the default one when none was installed.
CMessageSink& MessageSink();

// Writes "caption: text" to stderr. Nobody can answer there, so every question gets "no", which
// is the choice that changes nothing.
class CStderrMessageSink : public CMessageSink {
 public:
  void Show(const CMessage& message) override;
  bool Ask(const CMessage& question) override;
};

// Records everything it is handed (messages and questions, in order) and answers questions from a
// queue, then with the default answer once the queue is empty.
class CRecordingMessageSink : public CMessageSink {
 public:
  void Show(const CMessage& message) override { messages_.push_back(message); }
  bool Ask(const CMessage& question) override;

  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }
  std::size_t PendingAnswers() const { return answers_.size(); }

  const std::vector<CMessage>& Messages() const { return messages_; }
  std::size_t Count() const { return messages_.size(); }
  bool Empty() const { return messages_.empty(); }
  const CMessage& Last() const { return messages_.back(); }  // only when not Empty()
  std::vector<int> Ids() const;
  void Clear() { messages_.clear(); }

 private:
  std::vector<CMessage> messages_;
  std::deque<bool> answers_;
  bool defaultAnswer_ = false;
};
using RecordingMessageSink = CRecordingMessageSink;

// Installs a sink for its own lifetime and puts the previous one back.
class CScopedMessageSink {
 public:
  explicit CScopedMessageSink(CMessageSink& sink) : previous_(SetMessageSink(&sink)) {}
  ~CScopedMessageSink() { SetMessageSink(previous_); }
  CScopedMessageSink(const CScopedMessageSink&) = delete;
  CScopedMessageSink& operator=(const CScopedMessageSink&) = delete;

 private:
  CMessageSink* previous_;
};

// Message operations and the texts that name entries of the INI-style data files.
class CErrorMessage {
 public:
  CErrorMessage() = delete;

  // Entry id + extra + "\n" under caption 900 (isError) or 901; `detail` goes beside the text.
  static void ShowMessage(int id, bool isError, std::string_view extra = {},
                          std::string_view detail = {});
  // A message whose whole text is built already (e.g. the formatted 1113 and 1114).
  static void ShowText(int id, bool isError, std::string_view text);
  // The framework's plain box: entry id + extra under the application's title.
  static void ShowNotice(int id, std::string_view extra = {});
  // Entry id + extra as a yes/no question; true for yes.
  static bool AskYesNo(int id, std::string_view extra = {});

  // "\n\n[" section "]\n" key "="
  static std::string EntryText(std::string_view section, std::string_view key);
  // EntryText + " (Min >= " minimum " Max <= " maximum ")"
  static std::string RangeText(std::string_view section, std::string_view key, long long minimum,
                               long long maximum);
  // EntryText + " [" value "]"
  static std::string ValueText(std::string_view section, std::string_view key,
                               std::string_view value);
  // EntryText + " (=" value ")"
  static std::string EqualsText(std::string_view section, std::string_view key,
                                std::string_view value);
  // EntryText + " (" entry 1250 n ")"
  static std::string BadFloatText(std::string_view section, std::string_view key, long long n);
  // EntryText + " (" entry 1104 ")"
  static std::string WriteErrorText(std::string_view section, std::string_view key);

  // Entries 1113 and 1114 with ResultText(code) and the line number filled in.
  static std::string SaveErrorText(frt::Result code, long long line);
  static std::string LoadErrorText(frt::Result code, long long line);
  static void ShowSaveError(frt::Result code, long long line);
  static void ShowLoadError(frt::Result code, long long line);
};
