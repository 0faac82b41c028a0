#include "app/ui/automation_component.h"

#include "platform/error_text.h"
#include "common/text.h"
#include "framework/registry.h"
#include "platform/win32/win32_system.h"
#include "res/string_ids.h"

namespace qm {
namespace {

// Failures after which the proxy can never answer again: the server ended
// (it crashed or was ended by hand). The driver is emptied so the next use
// starts the component afresh instead of failing for the rest of the run.
bool ServerIsGone(HRESULT result) {
  return result == RPC_E_DISCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || result == RPC_E_SERVER_DIED ||
         result == RPC_E_SERVER_DIED_DNE || result == CO_E_OBJNOTCONNECTED;
}

}  // namespace

bool CAutomationComponent::IsRegistered() const {
  return fw::OpenKeyForReading(HKEY_CLASSES_ROOT, progId_ + L"\\CLSID") != nullptr;
}

bool CAutomationComponent::Run(Platform& platform) {
  if (!dispatch_ && !Create(platform)) return false;
  return Call(platform);
}

bool CAutomationComponent::Create(Platform& platform) {
  CLSID clsid{};
  HRESULT result = ::CLSIDFromProgID(progId_.c_str(), &clsid);
  if (SUCCEEDED(result)) {
    result = ::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, dispatch_.PutVoid());
  }
  if (SUCCEEDED(result) && dispatch_) return true;
  dispatch_.Reset();
  const std::string format = platform.strings->LoadString(IDS_COMPONENT_CREATE_ERROR);
  const CErrorText error(*platform.errors, static_cast<uint32_t>(result));
  platform.messageBox->MessageBox(FormatTable(format, {Narrow(progId_)}) + "\n" + error.GetText(), MB_ICONERROR_);
  return false;
}

bool CAutomationComponent::Call(Platform& platform) {
  DISPPARAMS noArguments{};
  fw::ExcepInfo exception;
  UINT badArgument = 0;
  const HRESULT result = dispatch_->Invoke(method_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments,
                                           nullptr, exception.Put(), &badArgument);
  if (SUCCEEDED(result)) return true;
  std::string detail;
  if (result == DISP_E_EXCEPTION) {
    exception.Fill();
    detail = CErrorText::FromDispatchException(Narrow(exception.Source()), Narrow(exception.Description())).GetText();
  } else {
    detail = CErrorText(*platform.errors, static_cast<uint32_t>(result)).GetText();
    if (ServerIsGone(result)) dispatch_.Reset();
  }
  platform.messageBox->MessageBox(platform.strings->LoadString(IDS_COMPONENT_ACCESS_ERROR) + "\n" + detail,
                                  MB_ICONERROR_);
  return false;
}

}  // namespace qm
