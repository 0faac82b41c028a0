#pragma once
// The arguments of a file command: its known flags, its options that take a
// value (-o PATH) and the positional arguments. Anything else that starts
// with "-" is an unknown option, not a file name, so "-complete" typed for
// "--complete" is a usage error rather than a file that cannot be read.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/command.h"

namespace qm::cli {

struct Arguments {
  std::vector<std::string> positional;
  std::set<std::string> flags;
  std::map<std::string, std::string> values;

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
};

// nullopt after "quillmar-cli: COMMAND: unknown option X" (or a missing or
// repeated value) and the usage line on stderr. A lone "-" is positional.
std::optional<Arguments> ParseArguments(Context& context, const char* command, const std::string& usage,
                                        const std::vector<std::string>& args, const std::set<std::string>& flags,
                                        const std::set<std::string>& valueOptions = {});

// For the commands whose one option is a flag: whether it was given, and
// the arguments without it.
bool TakeFlag(const std::vector<std::string>& args, const std::string& flag);
std::vector<std::string> WithoutFlag(const std::vector<std::string>& args, const std::string& flag);

// A window handle as the user types it: "0x" and hex digits, or decimal
// digits; nothing else.
std::optional<uint64_t> ParseHandle(const std::string& text);

}  // namespace qm::cli
