// quillmar-cli window HANDLE: the 29 properties of a window, as the property
// tree shows them.
#include <ostream>

#include "app/quillmar_doc.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "platform/windows.h"

namespace qm::cli {

namespace {

int RunWindow(Context& context, const std::vector<std::string>& args) {
  if (args.size() != 1) {
    context.err << "usage: quillmar-cli window HANDLE\n";
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
  for (const WindowProperty& p : document.m_properties) context.out << p.name << ": " << p.value << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("window", "window HANDLE  the 29 properties of a window (Windows only)", &RunWindow);

}  // namespace qm::cli
