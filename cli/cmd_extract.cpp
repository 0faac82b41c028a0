// quillmar-cli extract FILE... -o DIR [--json] [--force]: every resource of
// each module into DIR/FILE (the file name with its extension, so that two
// modules that differ only in extension do not collide): NAME.rc and the
// data files it names under res/. A summary per module goes to stdout; each
// damaged piece is also a warning on stderr, and damage alone is no failure.
// A module without resources is reported as such and gets no folder.
#include <ostream>
#include <string_view>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/module_resources.h"
#include "common/text.h"
#include "common/tree_model.h"
#include "resources/extract_folder.h"
#include "resources/module_extract.h"

namespace qm::cli {

namespace {

constexpr const char* kUsage = "usage: quillmar-cli extract FILE... -o DIR [--json] [--force]\n";

struct Written {
  std::string script;  // the script's path
  ModuleExtract extract;
};

// Writes one module's script and files; false after an error line. Nothing
// is written when any of its files exists and force is not given.
bool WriteModule(Context& context, ExtractFolderWriter& writer, bool force) {
  if (!force) {
    const std::vector<std::string> existing = writer.ExistingPaths();
    if (!existing.empty()) {
      ReportError(context, existing.front(), "already exists (--force writes over it)");
      return false;
    }
  }
  if (!writer.MakeFolders()) {
    ReportError(context, writer.Layout().folder, "cannot be made");
    return false;
  }
  while (!writer.Done()) {
    if (!writer.WriteNext()) {
      ReportError(context, writer.PathOf(writer.Written()), "cannot be written");
      return false;
    }
  }
  return true;
}

unsigned long long Count(size_t count) { return count; }

void PrintSummary(Context& context, const std::string& path, const Written& written) {
  const ModuleExtract& e = written.extract;
  context.out << path << ": " << (written.script.empty() ? "no resources" : written.script) << "\n";
  if (written.script.empty() && e.damaged.empty()) return;
  context.out << Format("  %llu statements, %llu files, %llu raw fallbacks, %llu damaged\n", Count(e.statements),
                        Count(e.dataFiles), Count(e.rawFallbacks.size()), Count(e.damaged.size()));
  for (const ExtractNote& note : e.rawFallbacks)
    context.out << "  raw: " << note.resource << ": " << note.reason << "\n";
  for (const ExtractNote& note : e.damaged)
    context.out << "  damaged: " << note.resource << ": " << note.reason << "\n";
}

void PrintNotesJson(std::ostream& out, const std::vector<ExtractNote>& notes) {
  out << "[";
  for (size_t i = 0; i < notes.size(); ++i)
    out << (i ? ", " : "") << "{\"resource\": " << JsonString(notes[i].resource)
        << ", \"reason\": " << JsonString(notes[i].reason) << "}";
  out << "]";
}

void PrintJson(Context& context, const std::string& path, const Written& written) {
  const ModuleExtract& e = written.extract;
  context.out << "{\"file\": " << JsonString(path)
              << ", \"script\": " << (written.script.empty() ? "null" : JsonString(written.script))
              << ", \"statements\": " << e.statements << ", \"files\": " << e.dataFiles << ", \"rawFallbacks\": ";
  PrintNotesJson(context.out, e.rawFallbacks);
  context.out << ", \"damaged\": ";
  PrintNotesJson(context.out, e.damaged);
  context.out << "}";
}

int RunExtract(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "extract", kUsage, args, {"--json", "--force"}, {"-o"});
  if (!parsed) return kExitUsage;
  const auto output = parsed->Value("-o");
  if (parsed->positional.empty() || !output || output->empty()) {
    context.err << kUsage;
    return kExitUsage;
  }
  const bool json = parsed->Has("--json");
  int exitCode = kExitOk;
  bool first = true;
  if (json) context.out << "[";
  for (const std::string& path : parsed->positional) {
    CResourceModule module(*context.platform.files);
    if (!OpenModuleResources(context, path, module)) {
      exitCode = kExitFailure;
      continue;
    }
    const std::string fileName = BaseName(path, "\\/");
    const ExtractLayout layout = PlanExtractFolder(*output, path);
    Written written{layout.scriptPath, ExtractModuleResources(*module.image(), module.directory(), fileName)};
    for (const ExtractNote& note : written.extract.damaged)
      ReportWarning(context, path, note.resource + " left out: " + note.reason);
    // A module without resources gets no folder.
    ExtractFolderWriter writer(layout, written.extract);
    if (!ExtractHasResources(written.extract)) {
      written.script.clear();
    } else if (!WriteModule(context, writer, parsed->Has("--force"))) {
      exitCode = kExitFailure;
      continue;
    }
    if (json) {
      context.out << (first ? "" : ", ");
      PrintJson(context, path, written);
    } else {
      PrintSummary(context, path, written);
    }
    first = false;
  }
  if (json) context.out << "]\n";
  return exitCode;
}

}  // namespace

QM_CLI_COMMAND("extract",
               "extract FILE... -o DIR [--json] [--force]  every resource of each module as DIR/FILE/NAME.rc and the "
               "files it names",
               &RunExtract);

}  // namespace qm::cli
