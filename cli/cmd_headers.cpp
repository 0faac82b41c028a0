// quillmar-cli headers FILE... [--complete] [--json]: the header dump of each
// module, one item per line indented two spaces a level (the first line is
// the path), or one JSON object per module.
#include <ostream>

#include "cli/command.h"
#include "common/text.h"
#include "common/tree_model.h"
#include "headers/header_dump.h"
#include "headers/module_loader.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli headers FILE... [--complete] [--json]\n";

std::string DescribeLoadFailure(const CModuleLoader& loader, const IErrorText& errors) {
  const ParseError& error = loader.GetParseError();
  switch (error.code) {
    case ReadError::Io: {
      std::string message = "cannot be read";
      std::string system = errors.FormatMessage(loader.GetLoadError());
      while (!system.empty() && (system.back() == '\n' || system.back() == '\r' || system.back() == ' '))
        system.pop_back();
      if (loader.GetLoadError() != 0 && !system.empty()) message += " (" + system + ")";
      return message;
    }
    case ReadError::TooMany:
      return "too large to be a module";
    case ReadError::BadSignature:
      if (error.offset == 0) return "not a Windows module (no MZ or PE signature)";
      break;
    default:
      break;
  }
  return "not a Windows module (" + DescribeError(error) + ")";
}

int RunHeaders(Context& context, const std::vector<std::string>& args) {
  bool complete = false, json = false;
  std::vector<std::string> files;
  for (const auto& arg : args) {
    if (arg == "--complete") {
      complete = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg.rfind("--", 0) == 0) {
      context.err << "quillmar-cli: headers: unknown option " << arg << "\n" << kUsage;
      return kExitUsage;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    context.err << kUsage;
    return kExitUsage;
  }

  const DumpText text{*context.platform.strings, *context.platform.locale};
  CModuleLoader loader(*context.platform.files);
  int exitCode = kExitOk;
  bool first = true;
  for (const auto& path : files) {
    if (!loader.Load(path)) {
      ReportError(context, path.empty() ? "\"\"" : path, DescribeLoadFailure(loader, *context.platform.errors));
      exitCode = kExitFailure;
      continue;
    }
    const HeaderDump dump = BuildHeaderDump(loader, complete, text);
    if (json) {
      context.out << "{\"file\": " << JsonString(path) << ", \"tree\": ";
      PrintTreeJson(context.out, dump.root);
      context.out << "}\n";
    } else {
      if (!first) context.out << "\n";
      PrintTree(context.out, dump.root);
    }
    first = false;
    for (const auto& problem : dump.problems) {
      ReportError(context, path, problem);
      exitCode = kExitFailure;
    }
  }
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("headers", "headers FILE... [--complete] [--json]  the PE header dump of each module", &RunHeaders);

}  // namespace qm::cli
