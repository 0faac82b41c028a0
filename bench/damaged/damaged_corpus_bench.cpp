// Times quillmar-cli on a corpus of damaged modules and reports, for each
// command, the slowest file. The corpus is made here from real Wine modules:
// single bytes flipped (~byte, as the damage tests do) in the resource
// directory, the PE headers, the export and import directories, the version
// block, string tables and icon groups, and copies cut short at telling
// places. Every command runs once per file as its own process, with its
// output thrown away; a run past the time limit is killed and counted.
// Both the wall time and the processor time (user + system) of each run are
// kept: on a busy machine the wall time mostly measures the scheduler.
//
// usage: qm_damaged_bench CLI [--modules DIR] [--only NAME[,NAME...]]
//                             [--tree-samples N] [--timeout-ms N] [--keep DIR]
// Target: no run of any command over 100 ms.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "headers/pe_image.h"
#include "resources/resource_directory.h"
#include "resources/resource_types.h"

namespace fs = std::filesystem;
using qm::ByteView;

namespace {

constexpr double kTargetMs = 100.0;

// Varied modules: small programs, dialog-heavy and icon-heavy libraries,
// several languages of string tables, the largest resource section.
const char* const kDefaultModules[] = {"notepad.exe",  "winecfg.exe",  "explorer.exe", "comdlg32.dll",
                                       "comctl32.dll", "user32.dll",   "shell32.dll",  "riched20.dll",
                                       "wininet.dll",  "oleaut32.dll", "winedbg.exe",  "ieframe.dll"};

struct Command {
  const char* name;
  std::vector<std::string> arguments;  // the file is appended
};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"resources", {"resources"}}, {"stats", {"stats"}}, {"version", {"version"}},
      {"strings", {"strings"}},     {"icons", {"icons"}}, {"headers", {"headers", "--complete"}},
  };
  return commands;
}

struct Variant {
  std::string label;              // becomes part of the file name
  std::optional<uint64_t> flip;   // file offset of the byte to invert
  std::optional<uint64_t> cutAt;  // new length of the file
};

// Offsets (from the directory's start) of every byte of the intact tree,
// with the root's entries and the first name directory apart.
struct TreeLayout {
  std::vector<uint32_t> all;
  uint32_t rootEnd = 0;
  std::vector<uint32_t> nameDirectories;
};

TreeLayout WalkTree(const ByteView& section) {
  std::set<uint32_t> bytes;
  TreeLayout layout;
  auto add = [&](uint64_t at, uint64_t size) {
    for (uint64_t i = 0; i < size && at + i < section.size(); ++i) bytes.insert(static_cast<uint32_t>(at + i));
  };
  std::set<uint32_t> seen;
  auto walk = [&](auto&& self, uint32_t dir, int level) -> void {
    if (level > 2 || !seen.insert(dir).second) return;
    const uint32_t count = uint32_t{section.get<uint16_t>(dir + 12)} + section.get<uint16_t>(dir + 14);
    add(dir, 16 + 8 * uint64_t{count});
    if (level == 0) layout.rootEnd = 16 + 8 * count;
    if (level == 1) layout.nameDirectories.push_back(dir);
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t name = section.get<uint32_t>(dir + 16 + 8 * uint64_t{i});
      const uint32_t target = section.get<uint32_t>(dir + 16 + 8 * uint64_t{i} + 4);
      if (name & 0x80000000u) add(name & 0x7FFFFFFFu, 2 + 2 * uint64_t{section.get<uint16_t>(name & 0x7FFFFFFFu)});
      if (target & 0x80000000u)
        self(self, target & 0x7FFFFFFFu, level + 1);
      else
        add(target, 16);
    }
  };
  walk(walk, 0, 0);
  layout.all.assign(bytes.begin(), bytes.end());
  return layout;
}

// The file offset of the first resource of a type (its preferred language).
std::optional<uint64_t> ResourceOffset(const qm::PeImage& image, const qm::ResourceDirectory& directory,
                                       uint16_t type) {
  const qm::ResourceType* found = directory.FindType(qm::ResourceName::Number(type));
  if (!found || found->items.empty()) return std::nullopt;
  auto data = directory.Load(image, found->type, found->items.front().name);
  if (!data || data->empty()) return std::nullopt;
  return data->base();
}

std::vector<Variant> MakeVariants(const std::string& module, const std::vector<uint8_t>& file, size_t treeSamples) {
  std::vector<Variant> out;
  auto flip = [&](const std::string& label, uint64_t at) {
    if (at < file.size()) out.push_back({label, at, std::nullopt});
  };
  auto cut = [&](const std::string& label, uint64_t length) {
    if (length < file.size()) out.push_back({label, std::nullopt, length});
  };
  char hex[32];
  auto at = [&hex](const char* what, uint64_t offset) {
    std::snprintf(hex, sizeof hex, "%s-%llx", what, static_cast<unsigned long long>(offset));
    return std::string(hex);
  };

  const ByteView view(file);
  auto image = qm::PeImage::Parse(view);
  if (!image) return out;
  // The headers: where the NT headers lie, the counts, the data directories
  // and the section table.
  const uint64_t nt = image->ntHeadersOffset();
  const uint64_t optional = nt + 24;
  const uint64_t directories = optional + (image->isPe32Plus() ? 112 : 96);
  for (uint64_t offset : {uint64_t{0x3C}, uint64_t{0x3D}, nt + 6, nt + 7, nt + 20, nt + 21, optional + 1,
                          directories - 4, directories - 3})
    flip(at("header", offset), offset);
  for (uint64_t entry : {0u, 1u, 2u})
    for (uint64_t byte : {1u, 2u, 5u, 7u})
      flip(at("datadir", directories + 8 * entry + byte), directories + 8 * entry + byte);
  const uint64_t sections = image->sectionTableOffset();
  for (size_t s = 0; s < image->sections().size() && s < 8; ++s)
    for (uint64_t field : {13u, 17u, 21u}) flip(at("section", sections + 40 * s + field), sections + 40 * s + field);
  cut(at("cut", 0x40), 0x40);
  cut(at("cut", sections + 20), sections + 20);

  // Exports and imports: counts and the RVAs of the name arrays.
  if (auto exports = image->Directory(qm::IMAGE_DIRECTORY_ENTRY_EXPORT))
    for (uint64_t field : {13u, 21u, 22u, 25u, 33u, 37u})
      flip(at("export", exports->base() + field), exports->base() + field);
  if (auto imports = image->Directory(qm::IMAGE_DIRECTORY_ENTRY_IMPORT))
    for (uint64_t field : {1u, 13u, 17u, 33u}) flip(at("import", imports->base() + field), imports->base() + field);

  // The resource directory: the root's counts and first entries, the counts
  // and first entries of two name directories, then bytes picked at random
  // (the same ones every run).
  const qm::ImageDataDirectory* entry = image->DirectoryEntry(qm::IMAGE_DIRECTORY_ENTRY_RESOURCE);
  if (!entry || entry->VirtualAddress == 0) return out;
  auto section = image->RvaToEnd(entry->VirtualAddress);
  if (!section) return out;
  const uint64_t base = section->base();
  const TreeLayout tree = WalkTree(*section);
  for (uint32_t offset = 12; offset < std::min<uint32_t>(tree.rootEnd, 32); ++offset)
    flip(at("rsrc-root", offset), base + offset);
  for (size_t d = 0; d < tree.nameDirectories.size() && d < 2; ++d) {
    const uint32_t dir = tree.nameDirectories[d * (tree.nameDirectories.size() - 1)];
    for (uint32_t offset : {12u, 13u, 14u, 15u, 16u, 19u, 20u, 23u})
      flip(at("rsrc-names", dir + offset), base + dir + offset);
  }
  std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>{}(module)));
  for (size_t i = 0; i < treeSamples && !tree.all.empty(); ++i) {
    const uint32_t offset = tree.all[random() % tree.all.size()];
    flip(at("rsrc-tree", offset), base + offset);
  }
  cut(at("cut", base + tree.rootEnd / 2), base + tree.rootEnd / 2);
  if (!tree.all.empty()) {
    cut(at("cut", base + tree.all[tree.all.size() / 2]), base + tree.all[tree.all.size() / 2]);
    cut(at("cut", base + tree.all.back()), base + tree.all.back());
  }
  cut(at("cut", file.size() / 2), file.size() / 2);
  cut(at("cut", file.size() - 1), file.size() - 1);

  // The data of the version block, a string table and an icon group.
  auto directory = qm::ResourceDirectory::Parse(*image);
  if (!directory) return out;
  if (auto version = ResourceOffset(*image, *directory, qm::kRtVersion)) {
    for (uint64_t offset : {0u, 1u, 2u, 3u, 6u, 7u, 40u, 41u, 48u, 49u, 92u, 93u})
      flip(at("version", *version + offset), *version + offset);
    cut(at("cut", *version + 60), *version + 60);
  }
  if (auto strings = ResourceOffset(*image, *directory, qm::kRtString))
    for (uint64_t offset : {0u, 1u}) flip(at("strings", *strings + offset), *strings + offset);
  if (auto group = ResourceOffset(*image, *directory, qm::kRtGroupIcon))
    for (uint64_t offset : {4u, 5u, 18u, 19u}) flip(at("icongroup", *group + offset), *group + offset);
  return out;
}

struct Run {
  double ms = 0;
  double cpuMs = 0;
  bool timedOut = false;
  bool crashed = false;  // ended by a signal it was not sent
};

// Runs the command line with its output discarded; SIGCHLD is blocked so
// the wait for it can have a deadline.
Run RunOnce(const std::string& cli, const std::vector<std::string>& arguments, int timeoutMs) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(cli.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(cli.c_str(), argv.data());
    ::_exit(127);
  }
  if (pid < 0) {
    run.crashed = true;
    return run;
  }
  sigset_t child;
  sigemptyset(&child);
  sigaddset(&child, SIGCHLD);
  int status = 0;
  rusage usage{};
  for (;;) {
    if (::wait4(pid, &status, WNOHANG, &usage) == pid) break;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto left = std::chrono::milliseconds(timeoutMs) - elapsed;
    if (left <= std::chrono::nanoseconds(0)) {
      ::kill(pid, SIGKILL);
      ::wait4(pid, &status, 0, &usage);
      run.timedOut = true;
      break;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    ::sigtimedwait(&child, nullptr, &wait);
  }
  run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
  };
  run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  if (!run.timedOut && WIFSIGNALED(status)) run.crashed = true;
  return run;
}

struct Tally {
  size_t files = 0, over = 0, timedOut = 0, crashed = 0;
  std::vector<double> times;
  double slowest = 0, slowestCpu = 0;
  std::string slowestFile, slowestCpuFile;
  std::vector<std::string> crashes;
};

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const size_t end = comma == std::string::npos ? text.size() : comma;
    if (end > start) out.push_back(text.substr(start, end - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: qm_damaged_bench CLI [--modules DIR] [--only NAME,...] [--tree-samples N] "
                 "[--timeout-ms N] [--keep DIR]\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();
  std::string modulesDir = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  std::vector<std::string> modules(std::begin(kDefaultModules), std::end(kDefaultModules));
  size_t treeSamples = 24;
  int timeoutMs = 10000;
  std::optional<fs::path> keep;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    if (option == "--modules")
      modulesDir = value;
    else if (option == "--only")
      modules = Split(value);
    else if (option == "--tree-samples")
      treeSamples = std::strtoul(value.c_str(), nullptr, 10);
    else if (option == "--timeout-ms")
      timeoutMs = std::atoi(value.c_str());
    else if (option == "--keep")
      keep = value;
    else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  sigset_t child;
  sigemptyset(&child);
  sigaddset(&child, SIGCHLD);
  ::sigprocmask(SIG_BLOCK, &child, nullptr);

  const fs::path work = keep ? *keep : fs::temp_directory_path() / ("qm-damaged-" + std::to_string(::getpid()));
  fs::create_directories(work);
  std::map<std::string, Tally> tallies;
  size_t corpus = 0;
  for (const std::string& module : modules) {
    std::ifstream in(fs::path(modulesDir) / module, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "skipped %s: cannot be read\n", module.c_str());
      continue;
    }
    const std::vector<uint8_t> intact{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<Variant> variants = MakeVariants(module, intact, treeSamples);
    for (const Variant& variant : variants) {
      const fs::path path =
          work / (fs::path(module).stem().string() + "." + variant.label + fs::path(module).extension().string());
      {
        std::vector<uint8_t> bytes = intact;
        if (variant.flip) bytes[*variant.flip] = static_cast<uint8_t>(~bytes[*variant.flip]);
        if (variant.cutAt) bytes.resize(*variant.cutAt);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      }
      ++corpus;
      for (const Command& command : Commands()) {
        std::vector<std::string> arguments = command.arguments;
        arguments.push_back(path.string());
        const Run run = RunOnce(cli, arguments, timeoutMs);
        Tally& tally = tallies[command.name];
        ++tally.files;
        tally.times.push_back(run.ms);
        if (run.cpuMs > kTargetMs || run.timedOut) ++tally.over;
        if (run.timedOut) ++tally.timedOut;
        if (run.crashed) tally.crashes.push_back(path.filename().string());
        if (run.ms > tally.slowest) {
          tally.slowest = run.ms;
          tally.slowestFile = path.filename().string();
        }
        if (run.cpuMs > tally.slowestCpu) {
          tally.slowestCpu = run.cpuMs;
          tally.slowestCpuFile = path.filename().string();
        }
      }
      if (!keep) fs::remove(path);
    }
  }
  if (!keep) fs::remove(work);

  std::printf("%zu damaged files from %zu modules; target: no run over %.0f ms (limit %d ms)\n", corpus, modules.size(),
              kTargetMs, timeoutMs);
  std::printf("wall: elapsed time of a run; cpu: its user + system time; over: runs past the target in cpu time\n");
  std::printf("%-10s %6s %9s %10s %10s %5s %7s %5s  %s\n", "command", "files", "wall med", "wall max", "cpu max",
              "over", "timeout", "crash", "slowest file (wall) / (cpu)");
  int status = 0;
  for (const Command& command : Commands()) {
    Tally& tally = tallies[command.name];
    if (tally.times.empty()) continue;
    std::sort(tally.times.begin(), tally.times.end());
    std::printf("%-10s %6zu %7.1fms %8.1fms %8.1fms %5zu %7zu %5zu  %s / %s\n", command.name, tally.files,
                tally.times[tally.times.size() / 2], tally.slowest, tally.slowestCpu, tally.over, tally.timedOut,
                tally.crashes.size(), tally.slowestFile.c_str(), tally.slowestCpuFile.c_str());
    for (const auto& crash : tally.crashes) std::printf("  crashed on %s\n", crash.c_str());
    if (tally.over || !tally.crashes.empty()) status = 1;
  }
  return status;
}
