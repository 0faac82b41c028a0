// quillmar-cli strings FILE [BLOCK] [--rc|--txt] [-o PATH]: the strings of
// one string-table block or of all of them as "id<TAB>text" lines, or the
// Strings.rc / Strings.txt the string page saves (to PATH, else standard
// output with "\n" line ends).
#include <ostream>

#include "cli/command.h"
#include "cli/module_listing.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "common/atomic_file.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli strings FILE [BLOCK] [--rc|--txt] [-o PATH]\n";

struct StringsOptions {
  std::string path;
  std::optional<ResourceName> block;
  std::optional<StringFileForm> form;
  std::optional<std::string> output;
};

bool ParseOptions(const std::vector<std::string>& args, StringsOptions& options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--rc" || arg == "--txt") {
      const auto form = arg == "--rc" ? StringFileForm::ResourceScript : StringFileForm::PlainText;
      if (options.form && *options.form != form) return false;
      options.form = form;
    } else if (arg == "-o") {
      if (i + 1 >= args.size() || options.output) return false;
      options.output = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 2) return false;
  // A file needs to know its form.
  if (options.output && !options.form) return false;
  options.path = positional[0];
  if (positional.size() == 2) options.block = ParseResourceArg(positional[1]);
  return true;
}

// The string list of the page: a row per present string.
void PrintStringList(Context& context, const std::vector<StringBlock>& blocks) {
  for (const auto& block : blocks) {
    for (size_t i = 0; i < block.strings.size(); ++i) {
      if (block.strings[i].empty()) continue;
      context.out << StringIdentifier(block.number, i) << "\t" << StringListText(block.strings[i]) << "\n";
    }
  }
}

int RunStrings(Context& context, const std::vector<std::string>& args) {
  StringsOptions options;
  if (!ParseOptions(args, options)) {
    context.err << kUsage;
    return kExitUsage;
  }
  CResourceModule module(*context.platform.files);
  if (!OpenModuleForListing(context, options.path, module)) return kExitFailure;
  auto blocks = CollectStringBlocks(module, options.block);
  if (!blocks) {
    if (options.block && blocks.error().code == ReadError::NotFound)
      ReportError(context, options.path,
                  "no resource " + DescribeResource(ResourceName::Number(kRtString), *options.block));
    else
      ReportError(context, options.path, "damaged string table (" + DescribeError(blocks.error()) + ")");
    return kExitFailure;
  }
  if (!options.form) {
    context.out << options.path << "\n";
    PrintStringList(context, *blocks);
    return kExitOk;
  }
  const std::string text = StringTablesText(*blocks, *options.form);
  if (!options.output) {
    context.out << text;
    return kExitOk;
  }
  if (!WriteFileAtomically(*options.output, ToCrLf(text))) {
    ReportError(context, *options.output, "cannot be written");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("strings", "strings FILE [BLOCK] [--rc|--txt] [-o PATH]  the string tables of a module", &RunStrings);

}  // namespace qm::cli
