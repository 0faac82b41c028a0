#pragma once
// One logged message as the target's hook writes it into the shared ring and
// Quillmar reads it back. Everything the details need is decoded inside the
// target, so the logger never follows a pointer of another process. The
// layout uses fixed widths only: a 32-bit target and a 64-bit Quillmar (or
// the other way round) agree on every offset.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qm {

// How the message reached the window procedure.
enum class MessageKind : uint8_t {
  Sent = 0,      // "enviado": the procedure is about to run
  Returned = 1,  // "devuelto": the procedure returned result
  Posted = 2,    // "encolado": taken from the queue (PM_REMOVE only)
};
inline constexpr uint8_t kMessageKindCount = 3;

// The class of a window as far as message and notification names go: the
// control messages of the WM_USER range and the WM_COMMAND codes of the
// different controls share their numbers, so the names need the class.
enum class ControlClass : uint8_t {
  Other = 0,
  Button,
  Edit,
  ListBox,
  ComboBox,
  ListView,
  TreeView,
  Tab,
  Toolbar,
  StatusBar,
  Header,
};
inline constexpr uint8_t kControlClassCount = 11;

// The most characters a record carries of a text (WM_SETTEXT, WM_GETTEXT).
inline constexpr size_t kRecordTextChars = 256;

// Which decoded fields a record carries.
enum RecordFields : uint8_t {
  kFieldText = 1,           // text, textLength
  kFieldTextCut = 2,        // the text was longer than kRecordTextChars
  kFieldWindowPos = 4,      // posX..insertAfter (WINDOWPOS)
  kFieldStyles = 8,         // oldStyle, newStyle (STYLESTRUCT)
  kFieldNotifyHeader = 16,  // notifyFrom, notifyId, notifyCode (NMHDR)
};

struct MessageRecord {
  uint64_t sequence = 0;  // the order of writing, over every writer thread
  uint64_t timeMs = 0;    // the target's millisecond clock when recorded
  uint64_t window = 0;
  uint64_t wParam = 0;
  uint64_t lParam = 0;
  uint64_t result = 0;  // Returned only
  uint32_t message = 0;
  uint32_t threadId = 0;
  MessageKind kind = MessageKind::Sent;
  ControlClass windowClass = ControlClass::Other;
  // For WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR*: the class of the control
  // that lParam (or the header) names.
  ControlClass controlClass = ControlClass::Other;
  uint8_t fields = 0;       // RecordFields
  uint16_t textLength = 0;  // UTF-16 units in text, at most kRecordTextChars
  uint16_t reserved = 0;
  // WINDOWPOS of WM_WINDOWPOSCHANGING/CHANGED.
  int32_t posX = 0;
  int32_t posY = 0;
  int32_t posWidth = 0;
  int32_t posHeight = 0;
  uint32_t swpFlags = 0;
  // STYLESTRUCT of WM_STYLECHANGING/CHANGED (wParam says which word).
  uint32_t oldStyle = 0;
  uint32_t newStyle = 0;
  // NMHDR of WM_NOTIFY.
  uint32_t notifyCode = 0;
  uint64_t insertAfter = 0;
  uint64_t notifyFrom = 0;
  uint64_t notifyId = 0;
  char16_t text[kRecordTextChars] = {};
};

// The record crosses process and bitness boundaries as raw bytes.
static_assert(std::is_trivially_copyable_v<MessageRecord>);
static_assert(std::is_standard_layout_v<MessageRecord>);
static_assert(sizeof(MessageRecord) == 120 + 2 * kRecordTextChars);
static_assert(offsetof(MessageRecord, text) == 120);

// Sets the record's text from UTF-16 units, cutting it at kRecordTextChars
// (and marking it cut).
void SetRecordText(MessageRecord& record, const char16_t* text, size_t length);

}  // namespace qm
