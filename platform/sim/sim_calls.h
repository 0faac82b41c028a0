#pragma once
// What the simulated desktop's windows and processes share: the failures a
// test injects, the last error of the thread, and the record of calls made
// and actions done.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qm {

class SimCallLog {
 public:
  // The named call (the platform's name: "EnumChildWindows", "OpenProcess",
  // "Process32First", "LoadLibrary", ...) fails with code, after letting
  // `skip` calls succeed; it goes on failing until ClearFailures.
  void FailCall(const std::string& call, uint32_t code, int skip = 0);
  void ClearFailures() { failures_.clear(); }

  // One line per action, e.g. "ShowWindow 0x00010010 5".
  std::vector<std::string> actions;
  // Calls made, by name, for tests that count snapshots or library loads.
  mutable std::map<std::string, int> calls;
  // What GetLastError answers.
  mutable uint32_t lastError = 0;

  // Counts the call and answers whether an injected failure applies (then
  // the last error is set).
  bool Failing(const std::string& call) const;
  void Log(const std::string& line) { actions.push_back(line); }

 private:
  struct Failure {
    uint32_t code = 0;
    int skip = 0;
  };
  mutable std::map<std::string, Failure> failures_;
};

// At most `units` UTF-16 units of a UTF-8 text, as a platform buffer of that
// many characters would hold.
std::string TruncateUtf16(const std::string& text, size_t units);

}  // namespace qm
