// quillmar-cli hex FILE TYPE NAME: the hex dump of one resource (its first
// 16 KB) and the line with its full size.
#include <ostream>

#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/hex_dump.h"

namespace qm::cli {

namespace {

int RunHex(Context& context, const std::vector<std::string>& args) {
  if (args.size() != 3) {
    context.err << "usage: quillmar-cli hex FILE TYPE NAME\n";
    return kExitUsage;
  }
  const std::string& path = args[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  ByteView bytes;
  if (!LoadResourceBytes(context, path, module, ParseResourceArg(args[1]), ParseResourceArg(args[2]), bytes))
    return kExitFailure;
  context.out << path << "\n";
  context.out << FormatHexDump(bytes.bytes(), "\n");
  context.out << FormatHexDumpTotal(*context.platform.strings, static_cast<uint32_t>(bytes.size())) << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("hex", "hex FILE TYPE NAME  the hex dump of a resource and its size", &RunHex);

}  // namespace qm::cli
