// quillmar-cli bitmap FILE NAME -o PATH: writes an RT_BITMAP resource as a
// .bmp file; an existing file at PATH survives a failed write.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "resources/bitmap_file.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

int RunBitmap(Context& context, const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: quillmar-cli bitmap FILE NAME -o PATH\n";
  const auto parsed = ParseArguments(context, "bitmap", kUsage, args, {}, {"-o"});
  if (!parsed) return kExitUsage;
  const auto& positional = parsed->positional;
  const std::string output = parsed->Value("-o").value_or(std::string());
  if (positional.size() != 2 || output.empty()) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  const ResourceName type = ResourceName::Number(kRtBitmap);
  const ResourceName name = ParseResourceArg(positional[1]);
  ByteView dib;
  if (!LoadResourceBytes(context, path, module, type, name, dib)) return kExitFailure;
  auto written = WriteBitmapFile(dib, output);
  if (!written) {
    if (written.error().code == ReadError::Io)
      ReportError(context, output, "cannot be written");
    else
      ReportError(context, path,
                  "damaged bitmap " + DescribeResource(type, name) + " (" + DescribeError(written.error()) + ")");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("bitmap", "bitmap FILE NAME -o PATH  writes a bitmap resource as a .bmp file", &RunBitmap);

}  // namespace qm::cli
