// quillmar-cli strings FILE [BLOCK] [--rc|--txt] [-o PATH]: the strings of
// one string-table block or of all of them as "id<TAB>text" lines, or the
// Strings.rc / Strings.txt the string page saves (to PATH, else standard
// output with "\n" line ends).
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
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

bool ParseOptions(Context& context, const std::vector<std::string>& args, StringsOptions& options) {
  const auto parsed = ParseArguments(context, "strings", kUsage, args, {"--rc", "--txt"}, {"-o"});
  if (!parsed) return false;
  if (parsed->Has("--rc") && parsed->Has("--txt")) {
    context.err << "quillmar-cli: strings: --rc and --txt exclude each other\n" << kUsage;
    return false;
  }
  if (parsed->Has("--rc")) options.form = StringFileForm::ResourceScript;
  if (parsed->Has("--txt")) options.form = StringFileForm::PlainText;
  options.output = parsed->Value("-o");
  const auto& positional = parsed->positional;
  if (positional.empty() || positional.size() > 2) {
    context.err << kUsage;
    return false;
  }
  if (options.output && !options.form) {
    context.err << "quillmar-cli: strings: -o needs a form: --rc (Strings.rc) or --txt (Strings.txt)\n" << kUsage;
    return false;
  }
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
  if (!ParseOptions(context, args, options)) return kExitUsage;
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, options.path, module)) return kExitFailure;
  // The list leaves a damaged block out with a warning, as the string page
  // does; a file is never written without one of its blocks.
  const bool listing = !options.form;
  if (listing && !options.block) {
    context.out << options.path << "\n";
    if (ReportNoResources(context, module)) return kExitOk;
  }
  std::vector<SkippedStringBlock> skipped;
  auto blocks = CollectStringBlocks(module, options.block, listing ? &skipped : nullptr);
  for (const SkippedStringBlock& block : skipped)
    ReportWarning(context, options.path,
                  "damaged string table " +
                      DescribeResource(ResourceName::Number(kRtString), ResourceName::Number(block.number)) +
                      " left out (" + DescribeError(block.error) + ")");
  if (!blocks) {
    if (options.block && blocks.error().code == ReadError::NotFound)
      ReportError(context, options.path,
                  "no resource " + DescribeResource(ResourceName::Number(kRtString), *options.block));
    else
      ReportError(context, options.path, "damaged string table (" + DescribeError(blocks.error()) + ")");
    return kExitFailure;
  }
  if (listing) {
    if (options.block) context.out << options.path << "\n";
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
