#pragma once
// The logging side that runs inside the target's threads: the three hook
// procedures the hook library exports, and the session they write to.
//
// Quillmar hooks each thread involved and posts the attach message to one of
// its windows; the WH_GETMESSAGE procedure takes it from the queue, opens the
// session's section and from then on every hook call on a watched window
// becomes a record. Nothing here allocates, waits on a kernel object or sends
// a message while a record is written: a record is a copy into the ring.
// The session ends when Quillmar asks (the stop word, then the detach
// message) or when its heartbeat goes stale (Quillmar died or hangs); the
// hooks then pass everything on untouched until Quillmar removes them.

#include <windows.h>

#include <cstdint>

namespace qm::hook {

// How long the reader may stay silent before the writers let the session go.
inline constexpr uint64_t kHeartbeatStaleMs = 10000;

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CallWndRetProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);

// The registered messages: attach carries Quillmar's PID in wParam and the
// session number in lParam; detach the same.
UINT AttachMessage();
UINT DetachMessage();

// Opens the session's section and starts writing; a thread of a session
// that is already open only counts itself attached. Also called directly
// when Quillmar logs one of its own windows.
bool AttachSession(uint32_t quillmarPid, uint32_t session);
// Stops writing and lets the section go (waiting for writers in other
// threads to finish their record). Safe to call when not attached.
void DetachSession();

}  // namespace qm::hook
