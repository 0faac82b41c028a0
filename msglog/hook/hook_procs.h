#pragma once
// The logging side that runs inside the target's threads: the WH_GETMESSAGE
// procedure the hook library exports, the subclass procedure it puts in
// front of the watched windows, and the session they write to.
//
// Quillmar hooks each thread involved and posts the attach message to one of
// its windows; the hook procedure takes it from the queue, opens the
// session's section and subclasses the watched windows of its thread. From
// then on a posted message taken from the queue is recorded by the hook
// ("encolado"), and every other call of a watched window's procedure by the
// subclass, before ("enviado") and after ("devuelto"). A window procedure
// cannot tell a posted message from a sent one, so the dispatch of a message
// the hook just recorded is not recorded again. Under Wine every hook call
// goes through the wineserver; a subclass procedure is a plain call, which is
// why sent messages, the many, go that way.
//
// Nothing here allocates, waits on a kernel object or sends a message while
// a record is written: a record is a copy into the ring. The session ends
// when Quillmar asks (the stop word, then the detach message) or when its
// heartbeat goes stale (Quillmar died or hangs). Each window then gets its
// own procedure back, from its own thread, when ours is still the current
// one; otherwise ours stays in the chain and passes everything on untouched.

#include <windows.h>

#include <cstdint>

namespace qm::hook {

// How long the reader may stay silent before the writers let the session go.
inline constexpr uint64_t kHeartbeatStaleMs = 10000;

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);

// The registered messages: attach carries Quillmar's PID in wParam and the
// session number in lParam; detach the same.
UINT AttachMessage();
UINT DetachMessage();

// Opens the session's section (a thread of a session that is already open
// joins it), subclasses the watched windows of the calling thread, and
// counts the thread attached. Also called directly when Quillmar logs one of
// its own windows.
bool AttachSession(uint32_t quillmarPid, uint32_t session);
// Stops writing, lets the section go (waiting for writers in other threads
// to finish their record) and gives the calling thread's windows their own
// procedures back; the other threads' windows get theirs at their next
// message. Safe to call when not attached.
void DetachSession();

}  // namespace qm::hook
