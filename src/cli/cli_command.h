#pragma once
#include <string>
#include <vector>

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

// Converts file bytes (GBK) to terminal text (UTF-8).
std::string ToTerminal(const std::string& gbk);

int DumpCommand(const GlobalOptions& options, const std::vector<std::string>& args);

}  // namespace cli

namespace cli {
// Message 1114 for a failed load, as terminal text on one line.
std::string LoadFailureText(unsigned result, int line);
// Line breaks as spaces, trailing ones dropped.
std::string OneLine(std::string text);
}  // namespace cli
