#include "msglog/hook/session_block.h"

#include <atomic>
#include <cstring>

namespace qm {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool SameName(const char16_t* name, size_t length, const char* known) {
  const size_t knownLength = std::strlen(known);
  if (length != knownLength) return false;
  for (size_t i = 0; i < length; ++i)
    if (Lower(name[i]) != static_cast<char16_t>(Lower(static_cast<char16_t>(known[i])))) return false;
  return true;
}

// Writes the decimal digits of value at out[at...]; returns the new end.
size_t PutNumber(std::span<char16_t, 64> out, size_t at, uint32_t value) {
  char16_t digits[10];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) out[at++] = digits[--count];
  return at;
}

}  // namespace

const WatchedWindow* WatchedWindows::Find(uint64_t handle) const {
  const uint32_t count = Count();
  for (uint32_t i = 0; i < count; ++i)
    if (windows_[i].handle == handle) return &windows_[i];
  return nullptr;
}

bool WatchedWindows::Add(uint64_t handle, ControlClass windowClass) {
  const uint32_t count = Count();
  if (count == kSessionMaxWindows || handle == 0 || Find(handle)) return false;
  windows_[count] = WatchedWindow{handle, windowClass};
  count_.store(count + 1, std::memory_order_release);
  return true;
}

Result<MessageRingReader> LayOutSession(std::span<uint8_t> block, std::span<const WatchedWindow> windows,
                                        uint32_t slotCount, uint64_t options) {
  if (block.size() < kSessionRingOffset) return Result<MessageRingReader>::Fail(ReadError::OutOfBounds, 0);
  auto ring = MessageRingReader::Create(block.subspan(kSessionRingOffset), slotCount);
  if (!ring) return ring;
  auto* header = reinterpret_cast<SessionHeader*>(block.data());
  std::memset(header, 0, sizeof(SessionHeader));
  header->version = kSessionVersion;
  header->ringSlots = slotCount;
  header->options = options;
  uint32_t count = 0;
  for (const WatchedWindow& window : windows) {
    if (count == kSessionMaxWindows) break;
    header->windows[count] = window.handle;
    header->windowClasses[count] = static_cast<uint8_t>(window.windowClass);
    ++count;
  }
  header->windowCount = count;
  std::atomic_ref<uint32_t>(header->magic).store(kSessionMagic, std::memory_order_release);
  return ring;
}

Result<MessageRingWriter> OpenSession(std::span<uint8_t> block, WatchedWindows& watched) {
  watched.Clear();
  // A refused session leaves no window watched.
  auto refuse = [&](ReadError code, uint64_t offset) {
    watched.Clear();
    return Result<MessageRingWriter>::Fail(code, offset);
  };
  if (block.size() < kSessionRingOffset || reinterpret_cast<uintptr_t>(block.data()) % 8 != 0)
    return refuse(ReadError::OutOfBounds, 0);
  auto* header = reinterpret_cast<SessionHeader*>(block.data());
  if (std::atomic_ref<uint32_t>(header->magic).load(std::memory_order_acquire) != kSessionMagic)
    return refuse(ReadError::BadSignature, 0);
  if (header->version != kSessionVersion) return refuse(ReadError::BadValue, 4);
  const uint32_t count = header->windowCount;
  if (count > kSessionMaxWindows) return refuse(ReadError::TooMany, 8);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t windowClass = header->windowClasses[i];
    if (windowClass >= kControlClassCount)
      return refuse(ReadError::BadValue, offsetof(SessionHeader, windowClasses) + i);
    if (!watched.Add(header->windows[i], static_cast<ControlClass>(windowClass)))
      return refuse(ReadError::BadValue, offsetof(SessionHeader, windows) + 8 * i);
  }
  watched.SetFollowsNewChildren((header->options & kSessionOptionNewChildren) != 0);
  auto writer = MessageRingWriter::Attach(block.subspan(kSessionRingOffset));
  if (!writer) watched.Clear();
  return writer;
}

size_t SessionSectionName(uint32_t quillmarPid, uint32_t session, std::span<char16_t, 64> out) {
  static constexpr char16_t kPrefix[] = u"Local\\quillmar-msglog-";
  size_t at = 0;
  for (const char16_t c : kPrefix)
    if (c != 0) out[at++] = c;
  at = PutNumber(out, at, kRingVersion);
  out[at++] = u'-';
  at = PutNumber(out, at, quillmarPid);
  out[at++] = u'-';
  at = PutNumber(out, at, session);
  out[at] = 0;
  return at;
}

ControlClass ControlClassFromName(const char16_t* name, size_t length) {
  struct Known {
    const char* name;
    ControlClass controlClass;
  };
  static constexpr Known kKnown[] = {
      {"Button", ControlClass::Button},           {"Edit", ControlClass::Edit},
      {"RichEdit20W", ControlClass::Edit},        {"RichEdit20A", ControlClass::Edit},
      {"ListBox", ControlClass::ListBox},         {"ComboLBox", ControlClass::ListBox},
      {"ComboBox", ControlClass::ComboBox},       {"SysListView32", ControlClass::ListView},
      {"SysTreeView32", ControlClass::TreeView},  {"SysTabControl32", ControlClass::Tab},
      {"ToolbarWindow32", ControlClass::Toolbar}, {"msctls_statusbar32", ControlClass::StatusBar},
      {"SysHeader32", ControlClass::Header},
  };
  if (name == nullptr) return ControlClass::Other;
  for (const Known& known : kKnown)
    if (SameName(name, length, known.name)) return known.controlClass;
  return ControlClass::Other;
}

}  // namespace qm
