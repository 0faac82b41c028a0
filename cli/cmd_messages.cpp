// quillmar-cli messages HANDLE [--seconds N] [--children] [--json]: the
// message log of a window for N seconds, one line (or one JSON object) per
// message as the log window shows it, then the recorded and lost counts.
#include <charconv>
#include <chrono>
#include <memory>
#include <ostream>
#include <thread>

#include "cli/arguments.h"
#include "cli/command.h"
#include "common/tree_model.h"
#include "msglog/message_log_model.h"
#include "msglog/message_ring.h"
#include "msglog/message_source.h"
#include "platform/windows.h"
#ifdef _WIN32
#include "msglog/win32/hook_message_source.h"
#endif

namespace qm::cli {

namespace {

const char kUsage[] = "usage: quillmar-cli messages HANDLE [--seconds N] [--children] [--json]\n";
constexpr unsigned kDefaultSeconds = 5;
constexpr unsigned kMostSeconds = 24 * 60 * 60;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

const char* FailureText(AttachFailure failure) {
  switch (failure) {
    case AttachFailure::None:
      return "";
    case AttachFailure::NoWindow:
      return "no such window";
    case AttachFailure::OtherBitness:
      return "the window's process has the other bitness (use the other quillmar-cli)";
    case AttachFailure::Elevated:
      return "the window's process runs at a higher integrity level (elevated)";
    case AttachFailure::LowIntegrity:
      return "the window's process runs at low integrity or in an AppContainer";
    case AttachFailure::NoHookLibrary:
      return "the hook library is missing beside quillmar-cli";
    case AttachFailure::NotResponding:
      return "the window did not respond within 5 seconds";
    case AttachFailure::SystemError:
      break;
  }
  return "cannot log this window";
}

std::unique_ptr<IMessageSource> SystemMessageSource() {
#ifdef _WIN32
  return CreateHookMessageSource();
#else
  return nullptr;
#endif
}

RegisteredMessageName SystemRegisteredNames() {
#ifdef _WIN32
  return SystemRegisteredMessageName();
#else
  return {};
#endif
}

void PrintRow(Context& context, const MessageLogModel& log, size_t row, bool json) {
  static constexpr const char* kKeys[kLogColumnCount] = {"number", "timeMs", "window", "kind",   "message",
                                                         "wParam", "lParam", "result", "details"};
  for (size_t column = 0; column < kLogColumnCount; ++column) {
    const std::string cell = log.CellText(row, static_cast<LogColumn>(column));
    if (json)
      context.out << (column == 0 ? "{" : ",") << JsonString(kKeys[column]) << ":" << JsonString(cell);
    else
      context.out << (column == 0 ? "" : "\t") << cell;
  }
  context.out << (json ? "}\n" : "\n");
}

int RunMessages(Context& context, const std::vector<std::string>& args) {
  const auto parsed = ParseArguments(context, "messages", kUsage, args, {"--children", "--json"}, {"--seconds"});
  if (!parsed) return kExitUsage;
  if (parsed->positional.size() != 1) {
    context.err << kUsage;
    return kExitUsage;
  }
  const std::string& text = parsed->positional[0];
  const auto handle = ParseHandle(text);
  if (!handle) {
    ReportError(context, text, "not a window handle (hex with 0x, or decimal)");
    return kExitUsage;
  }
  unsigned seconds = kDefaultSeconds;
  if (const auto value = parsed->Value("--seconds")) {
    unsigned number = 0;
    const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), number);
    if (value->empty() || error != std::errc() || end != value->data() + value->size() || number == 0 ||
        number > kMostSeconds) {
      ReportError(context, *value, "--seconds takes a whole number from 1 to 86400");
      return kExitUsage;
    }
    seconds = number;
  }
  const bool json = parsed->Has("--json");

  std::unique_ptr<IMessageSource> source = SystemMessageSource();
  if (!source || !context.platform.windows) {
    ReportError(context, "messages", "logging messages needs Windows");
    return kExitFailure;
  }
  if (!context.platform.windows->IsWindow(*handle)) {
    ReportError(context, text, "no such window");
    return kExitFailure;
  }
  const AttachOutcome outcome = source->Start(*handle, parsed->Has("--children"));
  if (!outcome.ok()) {
    std::string why = FailureText(outcome.failure);
    if (outcome.failure == AttachFailure::SystemError) why += " (error " + std::to_string(outcome.systemError) + ")";
    ReportError(context, text, why);
    return kExitFailure;
  }

  MessageLogModel log(*context.platform.strings, SystemRegisteredNames());
  log.SetStartTime(source->NowMs());
  std::vector<MessageRecord> records;
  size_t printed = 0;
  auto drain = [&] {
    records.clear();
    source->Poll(records, kRingDefaultSlots);
    log.Append(records);
    for (; printed < log.ShownCount(); ++printed) PrintRow(context, log, printed, json);
    context.out.flush();
  };
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end && source->Running() && context.platform.windows->IsWindow(*handle)) {
    drain();
    std::this_thread::sleep_for(kPollInterval);
  }
  source->Stop();
  drain();
  log.SetLost(source->Lost());
  if (json)
    context.out << "{\"recorded\":" << log.RecordedCount() << ",\"lost\":" << log.LostCount() << "}\n";
  else
    context.out << "recorded " << log.RecordedCount() << ", lost " << log.LostCount() << "\n";
  return kExitOk;
}

}  // namespace

QM_CLI_COMMAND("messages",
               "messages HANDLE [--seconds N] [--children] [--json]  the messages a window receives, live "
               "(Windows only)",
               &RunMessages);

}  // namespace qm::cli
