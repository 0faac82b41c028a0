#pragma once
// Which logged messages the list shows: groups of messages, and single
// messages by name that are shown or hidden whatever their group. The filter
// decides only what is shown; every record stays recorded.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "msglog/message_record.h"

namespace qm {

enum class MessageGroup : uint8_t {
  Mouse,      // "ratón"
  Keyboard,   // "teclado" (and focus)
  Window,     // "ventana": creation, size, position, state, text, styles
  Paint,      // "pintura" (and control colours, owner drawing)
  NonClient,  // "no cliente"
  Commands,   // "comandos y notificaciones" (and menus)
  Controls,   // "controles": the control messages, scrolling, owner-drawn items
  Other,      // "otros"
};
inline constexpr size_t kMessageGroupCount = 8;

// The group of a message sent to a window of the class.
MessageGroup GroupOf(uint32_t message, ControlClass windowClass);

// The string ID of a group's name.
uint32_t GroupNameId(MessageGroup group);

enum class MessageRule : uint8_t { None, Include, Exclude };

class MessageFilter {
 public:
  // A new filter shows every group and has no single rules.
  bool GroupShown(MessageGroup group) const { return groups_[static_cast<size_t>(group)]; }
  void SetGroupShown(MessageGroup group, bool shown) { groups_[static_cast<size_t>(group)] = shown; }

  // Include shows the message (by the name the list shows) even when its
  // group is hidden; Exclude hides it even when its group is shown.
  MessageRule RuleFor(std::string_view name) const;
  void SetRule(const std::string& name, MessageRule rule);
  const std::map<std::string, MessageRule, std::less<>>& Rules() const { return rules_; }

  // Whether the filter lets everything through (the list need not ask).
  bool ShowsEverything() const;
  bool Shows(uint32_t message, ControlClass windowClass, std::string_view name) const;

  friend bool operator==(const MessageFilter&, const MessageFilter&) = default;

 private:
  std::array<bool, kMessageGroupCount> groups_ = {true, true, true, true, true, true, true, true};
  std::map<std::string, MessageRule, std::less<>> rules_;
};

}  // namespace qm
