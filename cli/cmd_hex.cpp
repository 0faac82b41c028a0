// quillmar-cli hex FILE TYPE NAME [--raw]: the hex dump of one resource (its
// first 16 KB) and the line with its full size.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/hex_dump.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli hex FILE TYPE NAME [--raw]\n";

// The dump as a terminal can show it: control characters (C0, DEL and the
// C1 range, which the dump holds as UTF-8) become ".", so a resource cannot
// move the cursor, change colours or ring the bell. Line ends stay.
std::string ForTerminal(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      out.push_back('\n');
    } else if (c < 0x20 || c == 0x7F) {
      out.push_back('.');
    } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      out.push_back('.');
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

int RunHex(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "hex", kUsage, args, {"--raw"});
  if (!parsed) return kExitUsage;
  const auto& positional = parsed->positional;
  if (positional.size() != 3) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  ByteView bytes;
  if (!LoadResourceBytes(context, path, module, ParseResourceArg(positional[1]), ParseResourceArg(positional[2]),
                         bytes))
    return kExitFailure;
  // Exact bytes when asked for or when written to a file or pipe.
  const bool raw = parsed->Has("--raw") || !context.outIsTerminal;
  const std::string dump = FormatHexDump(bytes.bytes(), "\n");
  context.out << path << "\n";
  context.out << (raw ? dump : ForTerminal(dump));
  context.out << FormatHexDumpTotal(*context.platform.strings, static_cast<uint32_t>(bytes.size())) << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("hex", "hex FILE TYPE NAME [--raw]  the hex dump of a resource and its size", &RunHex);

}  // namespace qm::cli
