#pragma once
// The real message source on Windows: logs a window of another process
// through the hook library, loaded into the target's threads by a
// WH_GETMESSAGE hook (SetWindowsHookExW), which then subclasses the logged
// windows from their own threads, over a shared section named per session;
// a window of Quillmar's own process through the same code linked in,
// subclassed directly, with no library loaded.

#include <memory>
#include <string>

#include "msglog/message_names.h"
#include "msglog/message_source.h"

namespace qm {

// The hook library of this build, version and bitness in its name
// ("quillmar-hook-0.1.0-x64.dll").
std::wstring HookLibraryName();
// The library's full path beside the running executable.
std::wstring HookLibraryBesideProgram();

// hookLibrary: the library's full path; empty for the one beside the
// running executable.
std::unique_ptr<IMessageSource> CreateHookMessageSource(std::wstring hookLibrary = {});

// The names of registered messages, as the system keeps them.
RegisteredMessageName SystemRegisteredMessageName();

}  // namespace qm
