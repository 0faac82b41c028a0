#include "msglog/message_details.h"

#include <cinttypes>
#include <string_view>

#include "common/text.h"
#include "msglog/message_names.h"
#include "windows/style_dictionary.h"

namespace qm {
namespace {

// The message numbers the details decode (winuser.h).
enum : uint32_t {
  kMove = 0x0003,
  kSize = 0x0005,
  kActivate = 0x0006,
  kSetFocus = 0x0007,
  kKillFocus = 0x0008,
  kSetText = 0x000C,
  kGetText = 0x000D,
  kShowWindow = 0x0018,
  kWindowPosChanging = 0x0046,
  kWindowPosChanged = 0x0047,
  kNotify = 0x004E,
  kStyleChanging = 0x007C,
  kStyleChanged = 0x007D,
  kKeyDown = 0x0100,
  kKeyUp = 0x0101,
  kChar = 0x0102,
  kDeadChar = 0x0103,
  kSysKeyDown = 0x0104,
  kSysKeyUp = 0x0105,
  kSysChar = 0x0106,
  kSysDeadChar = 0x0107,
  kCommand = 0x0111,
  kTimer = 0x0113,
  kCtlColorFirst = 0x0132,  // WM_CTLCOLORMSGBOX
  kCtlColorLast = 0x0138,   // WM_CTLCOLORSTATIC
  kMouseFirst = 0x0200,     // WM_MOUSEMOVE
  kMouseWheel = 0x020A,
  kXButtonDown = 0x020B,
  kXButtonDblClk = 0x020D,
  kMouseHWheel = 0x020E,
};

constexpr int32_t kGwlStyle = -16;
constexpr int32_t kGwlExStyle = -20;

uint16_t Low(uint64_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
uint16_t High(uint64_t value) { return static_cast<uint16_t>((value >> 16) & 0xFFFF); }
int Signed16(uint16_t value) { return static_cast<int16_t>(value); }

std::string QuotedText(const MessageRecord& record) {
  const size_t length = record.textLength <= kRecordTextChars ? record.textLength : kRecordTextChars;
  std::string text = "\"" + Utf16ToUtf8(std::u16string_view(record.text, length)) + "\"";
  if (record.fields & kFieldTextCut) text += "…";
  return text;
}

std::string MouseKeys(uint16_t keys) {
  static constexpr MessageNameEntry kKeys[] = {{0x0001, "MK_LBUTTON"}, {0x0002, "MK_RBUTTON"}, {0x0004, "MK_SHIFT"},
                                               {0x0008, "MK_CONTROL"}, {0x0010, "MK_MBUTTON"}, {0x0020, "MK_XBUTTON1"},
                                               {0x0040, "MK_XBUTTON2"}};
  std::string text;
  for (const auto& key : kKeys) {
    if (!(keys & key.value)) continue;
    if (!text.empty()) text += " | ";
    text += key.name;
  }
  return text.empty() ? "ninguna" : text;
}

std::string MouseDetails(const MessageRecord& r) {
  const auto x = Signed16(Low(r.lParam));
  const auto y = Signed16(High(r.lParam));
  if (r.message == kMouseWheel || r.message == kMouseHWheel)
    return Format("delta=%d, x=%d, y=%d (pantalla), teclas=%s", Signed16(High(r.wParam)), x, y,
                  MouseKeys(Low(r.wParam)).c_str());
  std::string text = Format("x=%d, y=%d, teclas=%s", x, y, MouseKeys(Low(r.wParam)).c_str());
  if (r.message >= kXButtonDown && r.message <= kXButtonDblClk) text += Format(", botón=XBUTTON%u", High(r.wParam));
  return text;
}

std::string KeyDetails(const MessageRecord& r) {
  const bool isChar =
      r.message == kChar || r.message == kDeadChar || r.message == kSysChar || r.message == kSysDeadChar;
  std::string text;
  if (isChar) {
    const auto unit = static_cast<char16_t>(Low(r.wParam));
    text = unit >= 0x20 && unit != 0x7F
               ? Format("carácter='%s' (U+%04X)", Utf16ToUtf8(std::u16string_view(&unit, 1)).c_str(), unit)
               : Format("carácter=U+%04X", unit);
  } else {
    const char* name = VirtualKeyName(static_cast<uint32_t>(r.wParam & 0xFF));
    text = r.wParam <= 0xFF && name ? Format("tecla=%s", name) : Format("tecla=0x%02" PRIX64, r.wParam);
  }
  text += Format(", repetición=%u, escaneo=0x%02X", Low(r.lParam), static_cast<unsigned>((r.lParam >> 16) & 0xFF));
  if (r.lParam & (1u << 24)) text += ", extendida";
  if (r.lParam & (1u << 29)) text += ", ALT";
  if (r.lParam & (1u << 30)) text += ", ya pulsada";
  if (r.lParam & (1u << 31)) text += ", soltada";
  return text;
}

std::string CommandDetails(const MessageRecord& r) {
  const uint16_t id = Low(r.wParam);
  const uint16_t code = High(r.wParam);
  if (r.lParam == 0) {
    if (code == 0) return Format("ID=%u, menú", id);
    if (code == 1) return Format("ID=%u, acelerador", id);
    return Format("ID=%u, código=0x%04X", id, code);
  }
  const char* name = CommandCodeName(code, r.controlClass);
  return Format("ID=%u, código=%s, control=%s", id, name ? name : Format("0x%04X", code).c_str(),
                LogHandleText(r.lParam).c_str());
}

std::string NotifyDetails(const MessageRecord& r) {
  if (!(r.fields & kFieldNotifyHeader)) return Format("ID=%" PRIu64, r.wParam);
  const char* name = NotifyCodeName(r.notifyCode);
  const std::string code = name ? std::string(name) : Format("%d", static_cast<int32_t>(r.notifyCode));
  return Format("código=%s, ID=%" PRIu64 ", control=%s", code.c_str(), r.notifyId, LogHandleText(r.notifyFrom).c_str());
}

std::string WindowPosDetails(const MessageRecord& r) {
  if (!(r.fields & kFieldWindowPos)) return {};
  std::string text = Format("x=%d, y=%d, cx=%d, cy=%d, %s", r.posX, r.posY, r.posWidth, r.posHeight,
                            WindowPosFlagsText(r.swpFlags).c_str());
  if (!(r.swpFlags & 0x0004)) {  // SWP_NOZORDER clear: where it goes in the Z order matters
    const auto after = static_cast<int64_t>(r.insertAfter);
    const char* special = after == 0    ? "HWND_TOP"
                          : after == 1  ? "HWND_BOTTOM"
                          : after == -1 ? "HWND_TOPMOST"
                          : after == -2 ? "HWND_NOTOPMOST"
                                        : nullptr;
    text += ", detrás de " + (special ? std::string(special) : LogHandleText(r.insertAfter));
  }
  return text;
}

StyleKind StyleKindFor(ControlClass windowClass) {
  switch (windowClass) {
    case ControlClass::Button:
      return kButtonStyles;
    case ControlClass::Edit:
      return kEditStyles;
    case ControlClass::ListBox:
      return kListBoxStyles;
    case ControlClass::ComboBox:
      return kComboBoxStyles;
    case ControlClass::ListView:
      return kListViewStyles;
    default:
      return kWindowStyles;
  }
}

std::string StyleWords(uint32_t style, StyleKind kind) {
  std::string text;
  for (const auto& name : StyleBreakdown(style, kind)) {
    if (!text.empty()) text += " | ";
    text += name.name;
  }
  return Format("0x%08X", style) + (text.empty() ? "" : " (" + text + ")");
}

std::string StyleDetails(const MessageRecord& r) {
  const auto which = static_cast<int32_t>(static_cast<uint32_t>(r.wParam));
  const bool extended = which == kGwlExStyle;
  const char* label = extended ? "GWL_EXSTYLE" : which == kGwlStyle ? "GWL_STYLE" : nullptr;
  std::string text = label ? std::string(label) : Format("%d", which);
  if (!(r.fields & kFieldStyles)) return text;
  const StyleKind kind = extended ? kExtendedStyles : StyleKindFor(r.windowClass);
  return text + ", antes=" + StyleWords(r.oldStyle, kind) + ", después=" + StyleWords(r.newStyle, kind);
}

std::string ActivateDetails(const MessageRecord& r) {
  static constexpr const char* kStates[] = {"WA_INACTIVE", "WA_ACTIVE", "WA_CLICKACTIVE"};
  const uint16_t state = Low(r.wParam);
  std::string text = state < 3 ? kStates[state] : Format("%u", state);
  if (High(r.wParam)) text += ", minimizada";
  return text + ", otra=" + LogHandleText(r.lParam);
}

std::string ShowWindowDetails(const MessageRecord& r) {
  static constexpr const char* kStatus[] = {nullptr, "SW_PARENTCLOSING", "SW_OTHERZOOM", "SW_PARENTOPENING",
                                            "SW_OTHERUNZOOM"};
  std::string text = r.wParam ? "mostrar" : "ocultar";
  if (r.lParam >= 1 && r.lParam <= 4) text += std::string(", ") + kStatus[r.lParam];
  return text;
}

std::string SizeDetails(const MessageRecord& r) {
  static constexpr const char* kKinds[] = {"SIZE_RESTORED", "SIZE_MINIMIZED", "SIZE_MAXIMIZED", "SIZE_MAXSHOW",
                                           "SIZE_MAXHIDE"};
  const std::string kind = r.wParam < 5 ? kKinds[r.wParam] : Format("%" PRIu64, r.wParam);
  return Format("%s, ancho=%u, alto=%u", kind.c_str(), Low(r.lParam), High(r.lParam));
}

}  // namespace

std::string LogHandleText(uint64_t value) { return Format("0x%08" PRIx64, value); }

std::string MessageDetails(const MessageRecord& r) {
  const uint32_t m = r.message;
  switch (m) {
    case kSetText:
      return (r.fields & kFieldText) ? "texto=" + QuotedText(r) : std::string();
    case kGetText:
      if (r.kind == MessageKind::Returned && (r.fields & kFieldText)) return "texto=" + QuotedText(r);
      return Format("búfer=%" PRIu64 " caracteres", r.wParam);
    case kWindowPosChanging:
    case kWindowPosChanged:
      return WindowPosDetails(r);
    case kSize:
      return SizeDetails(r);
    case kMove:
      return Format("x=%d, y=%d", Signed16(Low(r.lParam)), Signed16(High(r.lParam)));
    case kCommand:
      return CommandDetails(r);
    case kNotify:
      return NotifyDetails(r);
    case kActivate:
      return ActivateDetails(r);
    case kShowWindow:
      return ShowWindowDetails(r);
    case kStyleChanging:
    case kStyleChanged:
      return StyleDetails(r);
    case kSetFocus:
      return "pierde=" + LogHandleText(r.wParam);
    case kKillFocus:
      return "recibe=" + LogHandleText(r.wParam);
    case kTimer:
      return Format("ID=%" PRIu64, r.wParam) + (r.lParam ? ", función=" + LogHandleText(r.lParam) : "");
    default:
      break;
  }
  if (m >= kKeyDown && m <= kSysDeadChar) return KeyDetails(r);
  if (m >= kMouseFirst && m <= kMouseHWheel) return MouseDetails(r);
  if (m >= kCtlColorFirst && m <= kCtlColorLast)
    return "HDC=" + LogHandleText(r.wParam) + ", control=" + LogHandleText(r.lParam);
  return {};
}

}  // namespace qm
