#pragma once
// The commands of quillmar-cli. Each command lives in its own file and
// registers itself with QM_CLI_COMMAND; main() dispatches by name.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qm::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // something named could not be read
constexpr int kExitUsage = 2;

struct Context;

struct Command {
  const char* name;
  const char* usage;  // one line for --help
  int (*run)(Context& context, const std::vector<std::string>& args);
};

struct Context {
  std::ostream& out;
  std::ostream& err;
  Platform& platform;
  bool outIsTerminal = false;  // standard output is a console, not a file or pipe
};

bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

// Prints "quillmar-cli: WHAT: MESSAGE" on stderr.
void ReportError(Context& context, const std::string& what, const std::string& message);

}  // namespace qm::cli

#define QM_CLI_CONCAT2(a, b) a##b
#define QM_CLI_CONCAT(a, b) QM_CLI_CONCAT2(a, b)
#define QM_CLI_COMMAND(...) \
  static const bool QM_CLI_CONCAT(registered_, __LINE__) = ::qm::cli::RegisterCommand(::qm::cli::Command{__VA_ARGS__})
