#pragma once
#include <string>
#include <utility>
#include <vector>

#include "library/error_message.h"

class CDocFormat;
class CQVWorkspace;

namespace cli {

// Options that come before the command.
struct GlobalOptions {
  std::string appDir;
  std::string sharedDir;
};

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The message sink of the tool: keeps every message the core shows, with its text already in
// UTF-8, until a command prints it or takes it as its own result. Questions are answered "no",
// the answer that changes nothing.
class CCliMessageSink : public CMessageSink {
 public:
  void Show(const CMessage& message) override;
  bool Ask(const CMessage& question) override;

  const std::vector<CMessage>& Messages() const { return messages_; }
  bool Empty() const { return messages_.empty(); }
  void Clear() { messages_.clear(); }
  // The file (or, without one, the command) the messages from now on are about.
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  // Writes each kept message as one line to stderr and forgets them: "frtool: SUBJECT: text"
  // ("frtool: SUBJECT: warning: text" for a warning) once a subject is set, else "caption: text".
  void PrintAll();

 private:
  std::vector<CMessage> messages_;
  std::string subject_;
};

// What every command gets: the global options and the installed message sink.
struct Context {
  GlobalOptions options;
  CCliMessageSink& messages;
};

// Starts the workspace as the editor does (settings, then templates; the pool only when asked).
// False after printing the messages of what did not load; the command then exits kExitUsage.
bool StartWorkspace(Context& context, CQVWorkspace& workspace, bool usePool = false);

// Converts file bytes (GBK) to terminal text (UTF-8).
std::string ToTerminal(const std::string& gbk);
// Converts a text that may be UTF-8 already or GBK bytes from a file: valid UTF-8 stays.
std::string AnyToTerminal(const std::string& text);
// Converts terminal text (UTF-8) to the bytes a format holds (GBK).
std::string FromTerminal(const std::string& utf8);
// Message 1114 for a failed load, as terminal text on one line.
std::string LoadFailureText(unsigned result, int line);
// Line breaks as spaces, trailing ones dropped.
std::string OneLine(std::string text);
// Text and extra text of a message on one line.
std::string MessageLine(const CMessage& message);
// The entry's own text of a message (without its extra text and final line break).
std::string MessageEntryText(const CMessage& message);
// True for "-x"/"--x" arguments (a lone "-" is a file name).
bool IsOption(const std::string& arg);
// Writes "frtool: SUBJECT: text" to stderr: the one shape of every fault a command reports.
void PrintFault(const std::string& subject, const std::string& text);
// Warns on stderr when the text read from the file looks like UTF-8 rather than GBK.
void WarnIfUtf8(const std::string& path, const CDocFormat& format);

int CheckCommand(Context& context, const std::vector<std::string>& args);
int PreviewCommand(Context& context, const std::vector<std::string>& args);
int RenderCommand(Context& context, const std::vector<std::string>& args);
int NewCommand(Context& context, const std::vector<std::string>& args);
int ConvertCommand(Context& context, const std::vector<std::string>& args);
int DumpCommand(Context& context, const std::vector<std::string>& args);
int TemplatesCommand(Context& context, const std::vector<std::string>& args);
int PoolCommand(Context& context, const std::vector<std::string>& args);
int ScanCommand(Context& context, const std::vector<std::string>& args);
int ExportCommand(Context& context, const std::vector<std::string>& args);

}  // namespace cli
