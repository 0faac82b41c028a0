#pragma once
// One external automation component reached by ProgID: created on first use
// and then kept, each use calling its method (a DISPATCH_METHOD without
// arguments or result). Failures are shown to the user as message boxes.

#include <string>

#include "framework/com_ptr.h"
#include "platform/platform.h"

namespace qm {

class CAutomationComponent {
 public:
  CAutomationComponent(std::wstring progId, DISPID method) : progId_(std::move(progId)), method_(method) {}

  // Whether the ProgID names a class under HKEY_CLASSES_ROOT; read-only.
  bool IsRegistered() const;

  // Creates the component when the driver is empty, then calls its method,
  // in one use. False (after the message box) when either step failed.
  bool Run(Platform& platform);

  bool IsCreated() const { return static_cast<bool>(dispatch_); }
  // Drops the interface (the frame does so when it is destroyed).
  void Release() { dispatch_.Reset(); }

 private:
  bool Create(Platform& platform);
  bool Call(Platform& platform);

  std::wstring progId_;
  DISPID method_;
  fw::ComPtr<IDispatch> dispatch_;
};

}  // namespace qm
