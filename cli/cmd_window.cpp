// quillmar-cli window HANDLE: the 29 properties of a window, as the property
// tree shows them.
#include <charconv>
#include <optional>
#include <ostream>

#include "app/quillmar_doc.h"
#include "cli/command.h"
#include "platform/windows.h"

namespace qm::cli {

namespace {

// "0x" and hex digits, or decimal digits; nothing else.
std::optional<uint64_t> ParseHandle(const std::string& text) {
  std::string_view digits = text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

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
