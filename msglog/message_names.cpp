#include "msglog/message_names.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace qm {
namespace {

#include "msglog/message_name_table.inc"

using Table = std::span<const MessageNameEntry>;

const char* Find(Table table, uint32_t value) {
  auto it = std::lower_bound(table.begin(), table.end(), value,
                             [](const MessageNameEntry& e, uint32_t v) { return e.value < v; });
  return it != table.end() && it->value == value ? it->name : nullptr;
}

Table ClassMessages(ControlClass windowClass) {
  switch (windowClass) {
    case ControlClass::Button:
      return kButtonMessages;
    case ControlClass::Edit:
      return kEditMessages;
    case ControlClass::ListBox:
      return kListBoxMessages;
    case ControlClass::ComboBox:
      return kComboBoxMessages;
    case ControlClass::ListView:
      return kListViewMessages;
    case ControlClass::TreeView:
      return kTreeViewMessages;
    case ControlClass::Tab:
      return kTabMessages;
    case ControlClass::Toolbar:
      return kToolbarMessages;
    case ControlClass::StatusBar:
      return kStatusBarMessages;
    case ControlClass::Header:
      return kHeaderMessages;
    case ControlClass::Other:
      break;
  }
  return {};
}

// The control tables whose numbers are theirs alone: a message of theirs
// is named whatever class the window turned out to be.
constexpr std::array<Table, 8> kUnambiguousTables = {kButtonMessages,   kEditMessages,     kListBoxMessages,
                                                     kComboBoxMessages, kListViewMessages, kTreeViewMessages,
                                                     kTabMessages,      kHeaderMessages};

}  // namespace

const char* KnownMessageName(uint32_t message, ControlClass windowClass) {
  if (const char* name = Find(ClassMessages(windowClass), message)) return name;
  if (const char* name = Find(kWindowMessages, message)) return name;
  for (Table table : kUnambiguousTables)
    if (const char* name = Find(table, message)) return name;
  return nullptr;
}

std::string MessageName(uint32_t message, ControlClass windowClass, const RegisteredMessageName& registered) {
  if (const char* name = KnownMessageName(message, windowClass)) return name;
  if (message >= kFirstRegisteredMessage && message <= kLastRegisteredMessage && registered) {
    std::string name = registered(message);
    if (!name.empty()) return name;
  }
  return Format("0x%04X", message);
}

const char* CommandCodeName(uint16_t code, ControlClass controlClass) {
  switch (controlClass) {
    case ControlClass::Button:
      return Find(kButtonCodes, code);
    case ControlClass::Edit:
      return Find(kEditCodes, code);
    case ControlClass::ListBox:
      return Find(kListBoxCodes, code);
    case ControlClass::ComboBox:
      return Find(kComboBoxCodes, code);
    default:
      return nullptr;
  }
}

const char* NotifyCodeName(uint32_t code) { return Find(kNotifyCodes, code); }

const char* VirtualKeyName(uint32_t key) {
  // "0".."9" and "A".."Z": pointers into one static string of the characters.
  static constexpr char kCharacters[] =
      "0\0"
      "1\0"
      "2\0"
      "3\0"
      "4\0"
      "5\0"
      "6\0"
      "7\0"
      "8\0"
      "9\0"
      "A\0"
      "B\0"
      "C\0"
      "D\0"
      "E\0"
      "F\0"
      "G\0"
      "H\0"
      "I\0"
      "J\0"
      "K\0"
      "L\0"
      "M\0"
      "N\0"
      "O\0"
      "P\0"
      "Q\0"
      "R\0"
      "S\0"
      "T\0"
      "U\0"
      "V\0"
      "W\0"
      "X\0"
      "Y\0"
      "Z";
  if (key >= '0' && key <= '9') return kCharacters + 2 * (key - '0');
  if (key >= 'A' && key <= 'Z') return kCharacters + 2 * (10 + key - 'A');
  return Find(kVirtualKeys, key);
}

std::string WindowPosFlagsText(uint32_t flags) {
  std::string text;
  uint32_t named = 0;
  for (const auto& entry : kWindowPosFlags) {
    if (!(flags & entry.value)) continue;
    if (!text.empty()) text += " | ";
    text += entry.name;
    named |= entry.value;
  }
  if (const uint32_t rest = flags & ~named) text += (text.empty() ? "" : " | ") + Format("0x%X", rest);
  return text.empty() ? "0" : text;
}

std::vector<std::string> AllMessageNames() {
  std::vector<std::string> names;
  const auto add = [&](Table table) {
    for (const auto& entry : table) names.emplace_back(entry.name);
  };
  add(kWindowMessages);
  add(kToolbarMessages);
  add(kStatusBarMessages);
  for (Table table : kUnambiguousTables) add(table);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace qm
