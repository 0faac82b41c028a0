#pragma once
// Owning handles of the image page: a bitmap it made, an icon it made, and a
// memory device context with one object selected into it for as long as it
// lives (the object goes back out before the context is deleted, so the
// bitmap can be deleted afterwards).

#include <memory>
#include <type_traits>

#include "platform/win32/win.h"

namespace qm {

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct IconDeleter {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The screen's device context, released when done.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  // A context compatible with like (the screen when null), holding object.
  MemoryDc(HDC like, HGDIOBJ object) : dc_(::CreateCompatibleDC(like)) {
    if (dc_ && object) previous_ = ::SelectObject(dc_, object);
  }
  ~MemoryDc() {
    if (!dc_) return;
    if (previous_) ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr && previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace qm
