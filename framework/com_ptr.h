#pragma once
// COM objects and the COM library held by scope: an interface pointer that
// releases itself, a BSTR that frees itself, and the per-thread
// initialisation undone when the scope ends (only when it succeeded).

#include <oaidl.h>
#include <objbase.h>

#include <string>
#include <utility>

#include "platform/win32/win.h"

namespace qm::fw {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* owned) {
    ComPtr p;
    p.ptr_ = owned;
    return p;
  }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // The address to receive a new reference; whatever was held is released.
  T** Put() {
    Reset();
    return &ptr_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

 private:
  T* ptr_ = nullptr;
};

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR owned) : bstr_(owned) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(bstr_); }
  std::wstring Text() const { return bstr_ ? std::wstring(bstr_, ::SysStringLen(bstr_)) : std::wstring(); }

 private:
  BSTR bstr_ = nullptr;
};

// The strings of an EXCEPINFO freed when the scope ends, whoever filled it.
class ExcepInfo {
 public:
  ExcepInfo() = default;
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  ~ExcepInfo() {
    ::SysFreeString(info_.bstrSource);
    ::SysFreeString(info_.bstrDescription);
    ::SysFreeString(info_.bstrHelpFile);
  }
  EXCEPINFO* Put() { return &info_; }
  // Runs the deferred fill-in the component may have left instead.
  void Fill() {
    if (info_.pfnDeferredFillIn) {
      info_.pfnDeferredFillIn(&info_);
      info_.pfnDeferredFillIn = nullptr;
    }
  }
  std::wstring Source() const { return Text(info_.bstrSource); }
  std::wstring Description() const { return Text(info_.bstrDescription); }
  HRESULT Code() const { return info_.scode != 0 ? info_.scode : static_cast<HRESULT>(info_.wCode); }

 private:
  static std::wstring Text(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }
  EXCEPINFO info_{};
};

// COM for the calling thread; a failed initialisation (already initialised
// in another model) is not undone.
class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : result_(::CoInitializeEx(nullptr, model)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

}  // namespace qm::fw
