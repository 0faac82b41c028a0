#include "app/window_properties_json.h"

#include <ostream>
#include <string>

#include "common/tree_model.h"

namespace qm {

const std::array<const char*, kPropertyCount> kPropertyJsonNames = {
    "hwnd",
    "is_window",
    "is_enabled",
    "is_visible",
    "is_minimized",
    "is_maximized",
    "class_name",
    "title",
    "window_rect",
    "client_rect",
    "style",
    "ex_style",
    "window_procedure",
    "instance",
    "id",
    "owner",
    "parent",
    "next_window",
    "previous_window",
    "menu",
    "class_style",
    "class_cursor",
    "class_background",
    "class_icon",
    "class_small_icon",
    "class_menu",
    "class_window_procedure",
    "executable",
    "process_id",
};

namespace {

enum class JsonKind { Handle, Boolean, Number, Text, Rectangle, Path };

JsonKind KindOf(int index) {
  switch (index) {
    case kPropIsWindow:
    case kPropEnabled:
    case kPropVisible:
    case kPropIconic:
    case kPropZoomed:
      return JsonKind::Boolean;
    case kPropClassName:
    case kPropTitle:
      return JsonKind::Text;
    case kPropWindowRect:
    case kPropClientRect:
      return JsonKind::Rectangle;
    case kPropStyle:
    case kPropExStyle:
    case kPropId:
    case kPropClassStyle:
    case kPropProcessId:
      return JsonKind::Number;
    case kPropExePath:
      return JsonKind::Path;
    default:
      return JsonKind::Handle;
  }
}

std::string ValueJson(const CQuillmarDoc& document, int index) {
  const WindowProperty& p = document.m_properties[static_cast<size_t>(index)];
  switch (KindOf(index)) {
    case JsonKind::Boolean:
      return p.raw != 0 ? "true" : "false";
    case JsonKind::Text:
      return JsonString(p.value);
    case JsonKind::Rectangle:
      if (!p.rect) return "null";
      return "{\"left\":" + std::to_string(p.rect->left) + ",\"top\":" + std::to_string(p.rect->top) +
             ",\"right\":" + std::to_string(p.rect->right) + ",\"bottom\":" + std::to_string(p.rect->bottom) + "}";
    case JsonKind::Number:
      return std::to_string(p.raw);
    case JsonKind::Path:
      return p.value.empty() ? "null" : JsonString(p.value);
    case JsonKind::Handle:
      break;
  }
  // The handle's line has no number behind it: it is the captured handle.
  return JsonHandle(index == kPropHandle ? document.m_hCapturedWnd : p.raw);
}

}  // namespace

void WriteWindowPropertiesJson(std::ostream& out, const CQuillmarDoc& document) {
  for (int i = 0; i < kPropertyCount; ++i)
    out << (i == 0 ? "{" : ",") << JsonString(kPropertyJsonNames[static_cast<size_t>(i)]) << ":"
        << ValueJson(document, i);
  out << "}\n";
}

}  // namespace qm
