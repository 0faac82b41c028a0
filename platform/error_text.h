#pragma once
// The text shown to the user for a failure: a platform error code as
// "(#code) message", or the message of an exception as it came.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace qm {

class CErrorText {
 public:
  // The calling thread's last platform error.
  explicit CErrorText(const IErrorText& errors);
  CErrorText(const IErrorText& errors, uint32_t code);

  // A framework exception's message, unchanged (cut at 2047 characters, the
  // room the exception is given to write it).
  static CErrorText FromExceptionMessage(std::string_view message);
  // An automation exception: "[source] description", or the description
  // alone when there is no source.
  static CErrorText FromDispatchException(std::string_view source, std::string_view description);

  // Code 0 gives the empty text; any other "(#%d) %s" with the code in
  // signed decimal and the system's message as it returns it (empty when it
  // has none).
  void SetCode(uint32_t code);
  const std::string& GetText() const { return m_strText; }

 private:
  CErrorText() = default;
  const IErrorText* m_errors = nullptr;
  std::string m_strText;
};

}  // namespace qm
