#include "headers/load_failure_message.h"

#include "common/text.h"
#include "res/string_ids.h"

namespace qm {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string ReplaceFirstInsert(std::string_view message, std::string_view text) {
  std::string out;
  out.reserve(message.size() + text.size());
  size_t pos = 0;
  while (pos < message.size()) {
    const char c = message[pos];
    if (c != '%' || pos + 1 >= message.size()) {
      out.push_back(c);
      ++pos;
      continue;
    }
    // "%%" is one escaped percent sign: both stay, and the second never
    // starts an insert.
    if (message[pos + 1] == '%') {
      out.append("%%");
      pos += 2;
      continue;
    }
    size_t end = pos + 1;
    while (end < message.size() && IsDigit(message[end])) ++end;
    if (message.substr(pos + 1, end - pos - 1) != "1") {
      out.push_back(c);
      ++pos;
      continue;
    }
    // "%1!s!": the printf part belongs to the insert.
    if (end < message.size() && message[end] == '!') {
      const size_t close = message.find('!', end + 1);
      if (close != std::string_view::npos) end = close + 1;
    }
    out.append(text);
    pos = end;
  }
  return out;
}

std::string ModuleLoadFailureMessage(const IStrings& strings, const IErrorText& errors, uint32_t error,
                                     const std::string& path) {
  std::string message;
  if (error != 0) message = ReplaceFirstInsert(errors.FormatMessage(error), path);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  if (message.empty()) message = FormatTable(strings.LoadString(IDS_CANNOT_LOAD_MODULE), {path});
  return message;
}

}  // namespace qm
