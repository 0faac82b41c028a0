#include "msglog/win32/target_checks.h"

#include <optional>

#include "platform/win32/win.h"

namespace qm {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

AttachOutcome Failure(AttachFailure failure, uint32_t error = 0) { return AttachOutcome{failure, error}; }

// The mandatory integrity level's RID of a process token; nullopt when the
// system does not say.
std::optional<DWORD> IntegrityLevel(HANDLE token) {
  alignas(8) BYTE buffer[128];
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) return std::nullopt;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
  PSID sid = label->Label.Sid;
  if (!sid || !::IsValidSid(sid)) return std::nullopt;
  const UCHAR count = *::GetSidSubAuthorityCount(sid);
  if (count == 0) return std::nullopt;
  return *::GetSidSubAuthority(sid, static_cast<DWORD>(count - 1));
}

bool IsAppContainer(HANDLE token) {
  DWORD isContainer = 0;
  DWORD size = 0;
  return ::GetTokenInformation(token, TokenIsAppContainer, &isContainer, sizeof isContainer, &size) && isContainer != 0;
}

}  // namespace

AttachOutcome CheckTargetProcess(uint32_t pid) {
  Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.get()) {
    const DWORD error = ::GetLastError();
    // A process Quillmar may not even query runs above it.
    return error == ERROR_ACCESS_DENIED ? Failure(AttachFailure::Elevated) : Failure(AttachFailure::SystemError, error);
  }
  BOOL targetWow64 = FALSE;
  BOOL ownWow64 = FALSE;
  if (::IsWow64Process(process.get(), &targetWow64) && ::IsWow64Process(::GetCurrentProcess(), &ownWow64) &&
      targetWow64 != ownWow64)
    return Failure(AttachFailure::OtherBitness);

  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(process.get(), TOKEN_QUERY, &rawToken)) {
    const DWORD error = ::GetLastError();
    return error == ERROR_ACCESS_DENIED ? Failure(AttachFailure::Elevated) : AttachOutcome{};
  }
  Handle token(rawToken);
  HANDLE rawOwn = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawOwn)) return AttachOutcome{};
  Handle ownToken(rawOwn);
  if (IsAppContainer(token.get())) return Failure(AttachFailure::LowIntegrity);
  const auto target = IntegrityLevel(token.get());
  const auto own = IntegrityLevel(ownToken.get());
  if (target && own) {
    if (*target > *own) return Failure(AttachFailure::Elevated);
    if (*target < *own && *target < SECURITY_MANDATORY_MEDIUM_RID) return Failure(AttachFailure::LowIntegrity);
  }
  return AttachOutcome{};
}

}  // namespace qm
