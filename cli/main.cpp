// quillmar-cli: the module reader of Quillmar on the command line.
#include <cstring>
#include <iostream>

#include "cli/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define QM_ISATTY _isatty
#define QM_FILENO _fileno
#else
#include <unistd.h>
#define QM_ISATTY isatty
#define QM_FILENO fileno
#endif
#include <cstdio>

namespace qm::cli {

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintHelp(std::ostream& out) {
  out << "usage: quillmar-cli COMMAND [ARGS...]\n\ncommands:\n";
  for (const auto& c : Commands()) out << "  " << c.usage << "\n";
  out << "\nExit code: 0 on success, 1 when something named cannot be read, 2 on a usage error.\n";
}
}  // namespace

bool RegisterCommand(const Command& command) {
  Registry().push_back(command);
  return true;
}

const std::vector<Command>& Commands() { return Registry(); }

void ReportError(Context& context, const std::string& what, const std::string& message) {
  context.err << "quillmar-cli: " << what << ": " << message << "\n";
}

}  // namespace qm::cli

int main(int argc, char** argv) {
  using namespace qm::cli;
#ifdef _WIN32
  // Output lines end in "\n" on every platform, not in the C runtime's "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  Context context{std::cout, std::cerr, qm::SystemPlatform(), QM_ISATTY(QM_FILENO(stdout)) != 0};
  if (argc < 2) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp(std::cout);
    return kExitOk;
  }
  for (const auto& c : Commands()) {
    if (name == c.name) {
      std::vector<std::string> args(argv + 2, argv + argc);
      for (const auto& a : args)
        if (a == "--help") {
          std::cout << "usage: quillmar-cli " << c.usage << "\n";
          return kExitOk;
        }
      int rc = c.run(context, args);
      std::cout.flush();
      return rc;
    }
  }
  std::cerr << "quillmar-cli: unknown command '" << name << "' (see --help)\n";
  return kExitUsage;
}
