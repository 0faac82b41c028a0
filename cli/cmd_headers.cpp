// quillmar-cli headers FILE... [--complete] [--json]: the header dump of each
// module, one item per line indented two spaces a level (the first line is
// the path), or one JSON object per module.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "common/text.h"
#include "common/tree_model.h"
#include "headers/header_dump.h"
#include "headers/module_loader.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli headers FILE... [--complete] [--json]\n";

std::string DescribeLoadFailure(const CModuleLoader& loader) {
  if (const auto& refused = loader.GetFileError()) return DescribeFileError(*refused);
  const ParseError& error = loader.GetParseError();
  switch (error.code) {
    case ReadError::BadSignature:
      if (error.offset == 0) return "not a Windows module (no MZ or PE signature)";
      break;
    default:
      break;
  }
  return "not a Windows module (" + DescribeError(error) + ")";
}

int RunHeaders(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "headers", kUsage, args, {"--complete", "--json"});
  if (!parsed) return kExitUsage;
  const bool complete = parsed->Has("--complete"), json = parsed->Has("--json");
  const std::vector<std::string>& files = parsed->positional;
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
      ReportError(context, path.empty() ? "\"\"" : path, DescribeLoadFailure(loader));
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
