#include "msglog/message_filter.h"

#include <algorithm>
#include <string_view>

#include "msglog/message_names.h"
#include "res/string_ids.h"

namespace qm {
namespace {

struct Range {
  uint32_t first;
  uint32_t last;
  MessageGroup group;
};

// The window messages by number (winuser.h); anything else is "otros".
constexpr Range kGroups[] = {
    {0x0001, 0x0003, MessageGroup::Window},     // WM_CREATE, WM_DESTROY, WM_MOVE
    {0x0005, 0x0006, MessageGroup::Window},     // WM_SIZE, WM_ACTIVATE
    {0x0007, 0x0008, MessageGroup::Keyboard},   // WM_SETFOCUS, WM_KILLFOCUS
    {0x000A, 0x000A, MessageGroup::Window},     // WM_ENABLE
    {0x000B, 0x000B, MessageGroup::Paint},      // WM_SETREDRAW
    {0x000C, 0x000E, MessageGroup::Window},     // WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH
    {0x000F, 0x000F, MessageGroup::Paint},      // WM_PAINT
    {0x0010, 0x0012, MessageGroup::Window},     // WM_CLOSE, WM_QUERYENDSESSION, WM_QUIT
    {0x0013, 0x0014, MessageGroup::Paint},      // WM_QUERYOPEN, WM_ERASEBKGND
    {0x0016, 0x0016, MessageGroup::Window},     // WM_ENDSESSION
    {0x0018, 0x0018, MessageGroup::Window},     // WM_SHOWWINDOW
    {0x0019, 0x0019, MessageGroup::Paint},      // WM_CTLCOLOR
    {0x001C, 0x001C, MessageGroup::Window},     // WM_ACTIVATEAPP
    {0x0020, 0x0021, MessageGroup::Mouse},      // WM_SETCURSOR, WM_MOUSEACTIVATE
    {0x0022, 0x0022, MessageGroup::Window},     // WM_CHILDACTIVATE
    {0x0024, 0x0024, MessageGroup::Window},     // WM_GETMINMAXINFO
    {0x0026, 0x0026, MessageGroup::Paint},      // WM_PAINTICON
    {0x0027, 0x0027, MessageGroup::Paint},      // WM_ICONERASEBKGND
    {0x002B, 0x002B, MessageGroup::Paint},      // WM_DRAWITEM
    {0x002C, 0x002F, MessageGroup::Controls},   // WM_MEASUREITEM .. WM_CHARTOITEM
    {0x0030, 0x0031, MessageGroup::Window},     // WM_SETFONT, WM_GETFONT
    {0x0039, 0x0039, MessageGroup::Controls},   // WM_COMPAREITEM
    {0x0046, 0x0047, MessageGroup::Window},     // WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED
    {0x004E, 0x004E, MessageGroup::Commands},   // WM_NOTIFY
    {0x0050, 0x0051, MessageGroup::Keyboard},   // WM_INPUTLANGCHANGEREQUEST, WM_INPUTLANGCHANGE
    {0x0053, 0x0053, MessageGroup::Commands},   // WM_HELP
    {0x0055, 0x0055, MessageGroup::Commands},   // WM_NOTIFYFORMAT
    {0x007B, 0x007B, MessageGroup::Commands},   // WM_CONTEXTMENU
    {0x007C, 0x007D, MessageGroup::Window},     // WM_STYLECHANGING, WM_STYLECHANGED
    {0x007F, 0x0080, MessageGroup::Window},     // WM_GETICON, WM_SETICON
    {0x0081, 0x0086, MessageGroup::NonClient},  // WM_NCCREATE .. WM_NCACTIVATE
    {0x0087, 0x0087, MessageGroup::Keyboard},   // WM_GETDLGCODE
    {0x0088, 0x0088, MessageGroup::Paint},      // WM_SYNCPAINT
    {0x00A0, 0x00AD, MessageGroup::NonClient},  // WM_NCMOUSEMOVE .. WM_NCXBUTTONDBLCLK
    {0x0100, 0x0109, MessageGroup::Keyboard},   // WM_KEYDOWN .. WM_UNICHAR
    {0x010D, 0x010F, MessageGroup::Keyboard},   // WM_IME_STARTCOMPOSITION .. WM_IME_COMPOSITION
    {0x0111, 0x0112, MessageGroup::Commands},   // WM_COMMAND, WM_SYSCOMMAND
    {0x0114, 0x0115, MessageGroup::Controls},   // WM_HSCROLL, WM_VSCROLL
    {0x0116, 0x0117, MessageGroup::Commands},   // WM_INITMENU, WM_INITMENUPOPUP
    {0x011F, 0x0126, MessageGroup::Commands},   // WM_MENUSELECT .. WM_MENUCOMMAND
    {0x0132, 0x0138, MessageGroup::Paint},      // WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC
    {0x0200, 0x020E, MessageGroup::Mouse},      // WM_MOUSEMOVE .. WM_MOUSEHWHEEL
    {0x0210, 0x0210, MessageGroup::Commands},   // WM_PARENTNOTIFY
    {0x0211, 0x0212, MessageGroup::Commands},   // WM_ENTERMENULOOP, WM_EXITMENULOOP
    {0x0214, 0x0214, MessageGroup::Window},     // WM_SIZING
    {0x0215, 0x0215, MessageGroup::Mouse},      // WM_CAPTURECHANGED
    {0x0216, 0x0216, MessageGroup::Window},     // WM_MOVING
    {0x0231, 0x0232, MessageGroup::Window},     // WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE
    {0x0281, 0x0291, MessageGroup::Keyboard},   // WM_IME_SETCONTEXT .. WM_IME_KEYUP
    {0x02A0, 0x02A0, MessageGroup::NonClient},  // WM_NCMOUSEHOVER
    {0x02A1, 0x02A1, MessageGroup::Mouse},      // WM_MOUSEHOVER
    {0x02A2, 0x02A2, MessageGroup::NonClient},  // WM_NCMOUSELEAVE
    {0x02A3, 0x02A3, MessageGroup::Mouse},      // WM_MOUSELEAVE
    {0x030F, 0x0311, MessageGroup::Paint},      // WM_QUERYNEWPALETTE .. WM_PALETTECHANGED
    {0x0312, 0x0312, MessageGroup::Keyboard},   // WM_HOTKEY
    {0x0317, 0x0318, MessageGroup::Paint},      // WM_PRINT, WM_PRINTCLIENT
};

constexpr bool RangesInOrder() {
  for (size_t i = 0; i < std::size(kGroups); ++i)
    if (kGroups[i].first > kGroups[i].last || (i > 0 && kGroups[i].first <= kGroups[i - 1].last)) return false;
  return true;
}
static_assert(RangesInOrder(), "the lookup below needs the ranges in order, without overlaps");

}  // namespace

MessageGroup GroupOf(uint32_t message, ControlClass windowClass) {
  // A control message (BM_, EM_, LVM_, TB_...) is named by its control's
  // prefix, never by "WM_".
  if (const char* name = KnownMessageName(message, windowClass); name && std::string_view(name).substr(0, 3) != "WM_")
    return MessageGroup::Controls;
  auto it = std::upper_bound(std::begin(kGroups), std::end(kGroups), message,
                             [](uint32_t m, const Range& r) { return m < r.first; });
  if (it != std::begin(kGroups) && message <= std::prev(it)->last) return std::prev(it)->group;
  return MessageGroup::Other;
}

uint32_t GroupNameId(MessageGroup group) {
  static constexpr uint32_t kIds[] = {IDS_MSGLOG_GROUP_MOUSE,    IDS_MSGLOG_GROUP_KEYBOARD,  IDS_MSGLOG_GROUP_WINDOW,
                                      IDS_MSGLOG_GROUP_PAINT,    IDS_MSGLOG_GROUP_NONCLIENT, IDS_MSGLOG_GROUP_COMMANDS,
                                      IDS_MSGLOG_GROUP_CONTROLS, IDS_MSGLOG_GROUP_OTHER};
  return kIds[static_cast<size_t>(group)];
}

MessageRule MessageFilter::RuleFor(std::string_view name) const {
  auto it = rules_.find(name);
  return it == rules_.end() ? MessageRule::None : it->second;
}

void MessageFilter::SetRule(const std::string& name, MessageRule rule) {
  if (rule == MessageRule::None)
    rules_.erase(name);
  else
    rules_[name] = rule;
}

bool MessageFilter::ShowsEverything() const {
  return std::all_of(groups_.begin(), groups_.end(), [](bool shown) { return shown; }) &&
         std::none_of(rules_.begin(), rules_.end(),
                      [](const auto& rule) { return rule.second == MessageRule::Exclude; });
}

bool MessageFilter::Shows(uint32_t message, ControlClass windowClass, std::string_view name) const {
  switch (RuleFor(name)) {
    case MessageRule::Include:
      return true;
    case MessageRule::Exclude:
      return false;
    case MessageRule::None:
      break;
  }
  return GroupShown(GroupOf(message, windowClass));
}

}  // namespace qm
