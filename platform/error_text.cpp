#include "platform/error_text.h"

#include "common/text.h"

namespace qm {

namespace {
constexpr size_t kExceptionMessageRoom = 2048;
}

CErrorText::CErrorText(const IErrorText& errors) : m_errors(&errors) { SetCode(errors.GetLastError()); }

CErrorText::CErrorText(const IErrorText& errors, uint32_t code) : m_errors(&errors) { SetCode(code); }

CErrorText CErrorText::FromExceptionMessage(std::string_view message) {
  CErrorText text;
  text.m_strText = std::string(message);
  if (message.size() >= kExceptionMessageRoom) {  // bytes never undercount characters
    std::u16string wide = Utf8ToUtf16(message);
    if (wide.size() >= kExceptionMessageRoom) {
      wide.resize(kExceptionMessageRoom - 1);
      text.m_strText = Utf16ToUtf8(wide);
    }
  }
  return text;
}

CErrorText CErrorText::FromDispatchException(std::string_view source, std::string_view description) {
  CErrorText text;
  text.m_strText =
      source.empty() ? std::string(description) : "[" + std::string(source) + "] " + std::string(description);
  return text;
}

void CErrorText::SetCode(uint32_t code) {
  if (code == 0) {
    m_strText.clear();
    return;
  }
  // Platform codes are shown signed, so HRESULTs read as negative numbers.
  m_strText = Format("(#%d) ", static_cast<int32_t>(code));
  if (m_errors) m_strText += m_errors->FormatMessage(code);
}

}  // namespace qm
