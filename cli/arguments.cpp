#include "cli/arguments.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <string_view>

namespace qm::cli {

std::optional<std::string> Arguments::Value(const std::string& option) const {
  auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::optional<Arguments> ParseArguments(Context& context, const char* command, const std::string& usage,
                                        const std::vector<std::string>& args, const std::set<std::string>& flags,
                                        const std::set<std::string>& valueOptions) {
  Arguments parsed;
  auto refuse = [&](const std::string& why) -> std::optional<Arguments> {
    context.err << "quillmar-cli: " << command << ": " << why << "\n" << usage;
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      parsed.positional.push_back(arg);
    } else if (flags.count(arg)) {
      parsed.flags.insert(arg);
    } else if (valueOptions.count(arg)) {
      if (i + 1 >= args.size()) return refuse(arg + " needs a value");
      if (parsed.values.count(arg)) return refuse(arg + " given twice");
      parsed.values[arg] = args[++i];
    } else {
      return refuse("unknown option " + arg);
    }
  }
  return parsed;
}

bool TakeFlag(const std::vector<std::string>& args, const std::string& flag) {
  return std::find(args.begin(), args.end(), flag) != args.end();
}

std::vector<std::string> WithoutFlag(const std::vector<std::string>& args, const std::string& flag) {
  std::vector<std::string> rest;
  for (const std::string& arg : args)
    if (arg != flag) rest.push_back(arg);
  return rest;
}

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

}  // namespace qm::cli
