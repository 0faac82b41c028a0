// quillmar-cli dialog FILE NAME [--rc [-o PATH]]: what a dialog template
// holds: caption, font, styles, position, menu, class and one line per
// control; with --rc the dialog as resource script, on standard output or
// written to PATH.
#include <ostream>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "cli/resource_args.h"
#include "common/text.h"
#include "resources/dialog_script.h"
#include "resources/dialog_template.h"
#include "resources/resource_types.h"

namespace qm::cli {

namespace {

std::string Quoted(const DialogNameOrOrdinal& value) {
  return value.isOrdinal() ? value.ToText() : "\"" + value.text + "\"";
}

void PrintDialog(std::ostream& out, const DialogTemplate& dialog) {
  out << "Format: " << (dialog.extended ? "DIALOGEX" : "DIALOG") << "\n";
  out << "Caption: \"" << dialog.caption << "\"\n";
  out << Format("Style: 0x%08x\nExStyle: 0x%08x\n", dialog.style, dialog.exStyle);
  if (dialog.extended) out << Format("HelpId: %u\n", dialog.helpId);
  out << Format("Position: %d, %d, %d, %d\n", dialog.x, dialog.y, dialog.cx, dialog.cy);
  if (dialog.hasFont) {
    out << Format("Font: %u \"", unsigned{dialog.pointSize}) << dialog.fontName << "\"";
    if (dialog.extended)
      out << Format(", weight %u%s, charset %u", unsigned{dialog.weight}, dialog.italic ? ", italic" : "",
                    unsigned{dialog.charset});
    out << "\n";
  }
  if (!dialog.menu.isNone()) out << "Menu: " << dialog.menu.ToText() << "\n";
  if (!dialog.windowClass.isNone()) out << "Class: " << dialog.windowClass.ToText() << "\n";
  out << "Controls: " << dialog.controls.size() << "\n";
  for (const DialogControl& control : dialog.controls) {
    out << Format("  %u ", control.id) << control.className << " " << Quoted(control.text)
        << Format(" %d, %d, %d, %d style 0x%08x exstyle 0x%08x", control.x, control.y, control.cx, control.cy,
                  control.style, control.exStyle);
    if (control.helpId) out << Format(" help %u", control.helpId);
    if (control.creationDataSize) out << Format(" data %u", unsigned{control.creationDataSize});
    out << "\n";
  }
}

int RunDialog(Context& context, const std::vector<std::string>& args) {
  constexpr const char* kUsage = "usage: quillmar-cli dialog FILE NAME [--rc [-o PATH]]\n";
  const auto parsed = ParseArguments(context, "dialog", kUsage, args, {"--rc"}, {"-o"});
  if (!parsed) return kExitUsage;
  const auto& positional = parsed->positional;
  const bool script = parsed->Has("--rc");
  const std::optional<std::string> output = parsed->Value("-o");
  if (positional.size() != 2 || (output && !script)) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& path = positional[0];
  CResourceModule module(*context.platform.files);
  if (!OpenModuleResources(context, path, module)) return kExitFailure;
  const ResourceName type = ResourceName::Number(kRtDialog);
  const ResourceName name = ParseResourceArg(positional[1]);
  ByteView bytes;
  if (!LoadResourceBytes(context, path, module, type, name, bytes)) return kExitFailure;
  auto dialog = ParseDialogTemplate(bytes);
  if (!dialog) {
    ReportError(context, path,
                "damaged dialog " + DescribeResource(type, name) + " (" + DescribeError(dialog.error()) + ")");
    return kExitFailure;
  }
  if (output) {
    if (!WriteDialogScript(*dialog, name, *output)) {
      ReportError(context, *output, "cannot be written");
      return kExitFailure;
    }
    return kExitOk;
  }
  if (script) {
    context.out << DialogScriptText(*dialog, name);
    return kExitOk;
  }
  context.out << path << "\n";
  PrintDialog(context.out, *dialog);
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("dialog",
               "dialog FILE NAME [--rc [-o PATH]]  a dialog's caption, font, styles and controls, or its script",
               &RunDialog);

}  // namespace qm::cli
