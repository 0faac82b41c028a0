#include "platform/sim/sim_calls.h"

#include "common/text.h"

namespace qm {

void SimCallLog::FailCall(const std::string& call, uint32_t code, int skip) { failures_[call] = Failure{code, skip}; }

bool SimCallLog::Failing(const std::string& call) const {
  ++calls[call];
  auto it = failures_.find(call);
  if (it == failures_.end()) return false;
  if (it->second.skip > 0) {
    --it->second.skip;
    return false;
  }
  lastError = it->second.code;
  return true;
}

std::string TruncateUtf16(const std::string& text, size_t units) {
  std::u16string wide = Utf8ToUtf16(text);
  if (wide.size() <= units) return text;
  wide.resize(units);
  return Utf16ToUtf8(wide);
}

}  // namespace qm
