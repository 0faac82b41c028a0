#pragma once
// The shared section of one logging session: a header Quillmar fills before
// it asks the target to attach (the windows to log, with their classes, and
// the words both sides use to agree on attaching and stopping), then the
// message ring at a fixed offset.
//
// The target copies what it needs out of the header once, when it attaches,
// and checks every count against its own limits: the section belongs to
// another process.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/result.h"
#include "msglog/message_record.h"
#include "msglog/message_ring.h"

namespace qm {

inline constexpr uint32_t kSessionMagic = 0x53534D51;  // "QMSS"
inline constexpr uint32_t kSessionVersion = 1;
// The root window and its children: a window with more children than this
// is logged for the first ones only.
inline constexpr uint32_t kSessionMaxWindows = 1024;
inline constexpr size_t kSessionRingOffset = 16384;
// Children the root window gets while the session runs are logged too (in
// the threads already hooked).
inline constexpr uint64_t kSessionOptionNewChildren = 1;

struct SessionHeader {
  uint32_t magic;
  uint32_t version;
  uint32_t windowCount;
  uint32_t ringSlots;
  alignas(8) uint64_t attached;  // threads of the target that attached
  alignas(8) uint64_t stop;      // set by Quillmar: the writers let go
  alignas(8) uint64_t detached;  // set by the target once it let go
  alignas(8) uint64_t options;   // kSessionOption* bits, set by Quillmar
  alignas(8) uint64_t reserved[4];
  uint64_t windows[kSessionMaxWindows];
  uint8_t windowClasses[kSessionMaxWindows];  // ControlClass of each window
};
static_assert(sizeof(SessionHeader) <= kSessionRingOffset);

// Bytes of a section with a ring of slotCount slots.
constexpr size_t SessionBlockSize(uint32_t slotCount) { return kSessionRingOffset + RingBlockSize(slotCount); }

struct WatchedWindow {
  uint64_t handle;
  ControlClass windowClass;
};

// The windows a session logs, as the target keeps them: a fixed array, so
// looking a window up in a hook allocates nothing. A window created while
// the session runs is added while other threads look windows up: an entry
// is written before the count that makes it visible. One adder at a time.
class WatchedWindows {
 public:
  // The window's class, or nothing when the session does not log it.
  const WatchedWindow* Find(uint64_t handle) const;
  uint32_t Count() const { return count_.load(std::memory_order_acquire); }
  // The index-th window, index below Count().
  const WatchedWindow& At(uint32_t index) const { return windows_[index]; }
  bool Add(uint64_t handle, ControlClass windowClass);
  void Clear() {
    count_.store(0, std::memory_order_release);
    followNewChildren_ = false;
  }
  // The window the user chose (listed first), 0 when there is none.
  uint64_t Root() const { return Count() > 0 ? windows_[0].handle : 0; }
  bool FollowsNewChildren() const { return followNewChildren_; }
  void SetFollowsNewChildren(bool follow) { followNewChildren_ = follow; }

 private:
  std::array<WatchedWindow, kSessionMaxWindows> windows_{};
  std::atomic<uint32_t> count_{0};
  bool followNewChildren_ = false;
};

// Quillmar's side: lays the header and a new ring of slotCount slots over the
// block, listing the windows (at most kSessionMaxWindows are kept), the
// root first.
Result<MessageRingReader> LayOutSession(std::span<uint8_t> block, std::span<const WatchedWindow> windows,
                                        uint32_t slotCount, uint64_t options = 0);

// The target's side: checks the header, copies the windows into watched
// (refusing a handle of 0 or a class out of range) and attaches a writer to
// the ring.
Result<MessageRingWriter> OpenSession(std::span<uint8_t> block, WatchedWindows& watched);

// The name of the section of a session: "Local\quillmar-msglog-1-PID-SESSION"
// (the ring's layout version in it), written into out with its terminating
// zero; the characters written without it.
size_t SessionSectionName(uint32_t quillmarPid, uint32_t session, std::span<char16_t, 64> out);

// The class of a window as the message names need it, from its class name
// (as GetClassName gives it; case does not matter).
ControlClass ControlClassFromName(const char16_t* name, size_t length);

}  // namespace qm
