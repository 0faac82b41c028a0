#include "framework/resource_text.h"

#include "framework/wnd.h"
#include "platform/win32/win32_system.h"

namespace qm::fw {

std::string ResourceText(uint32_t id) {
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? Narrow(std::wstring(text, static_cast<size_t>(length))) : std::string();
}

}  // namespace qm::fw
