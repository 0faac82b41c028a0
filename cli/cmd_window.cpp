// quillmar-cli window HANDLE [--json]: the 29 properties of a window, as the
// property tree shows them, or as the fields of one JSON object.
#include <ostream>

#include "app/quillmar_doc.h"
#include "app/window_properties_json.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "platform/windows.h"

namespace qm::cli {

namespace {

const char kUsage[] = "usage: quillmar-cli window HANDLE [--json]\n";

int RunWindow(Context& context, const std::vector<std::string>& arguments) {
  // "-5" is a handle that is not one, said as such, rather than an option.
  const bool json = TakeFlag(arguments, "--json");
  const std::vector<std::string> args = WithoutFlag(arguments, "--json");
  if (args.size() != 1) {
    context.err << kUsage;
    return kExitUsage;
  }
  const auto handle = ParseHandle(args[0]);
  if (!handle) {
    ReportError(context, args[0], "not a window handle (hex with 0x, or decimal)");
    return kExitUsage;
  }
  if (!context.platform.windows) {
    ReportError(context, "window", "reading windows needs Windows");
    return kExitFailure;
  }
  if (!context.platform.windows->IsWindow(*handle)) {
    ReportError(context, args[0], "no such window");
    return kExitFailure;
  }
  CQuillmarDoc document(context.platform);
  document.m_hCapturedWnd = *handle;
  document.RefreshProperties();
  if (document.m_properties[kPropIsWindow].raw == 0) {  // destroyed meanwhile
    ReportError(context, args[0], "no such window");
    return kExitFailure;
  }
  if (json) {
    WriteWindowPropertiesJson(context.out, document);
    return kExitOk;
  }
  for (const WindowProperty& p : document.m_properties) context.out << p.name << ": " << p.value << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("window", "window HANDLE [--json]  the 29 properties of a window (Windows only)", &RunWindow);

}  // namespace qm::cli
