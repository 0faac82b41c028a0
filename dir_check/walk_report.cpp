#include "dir_check/walk_report.h"

#include <limits>

#include "common/file_time.h"
#include "common/number_format.h"
#include "common/text.h"
#include "dir_check/dir_check_strings.h"

namespace qm::dircheck {

std::string ProgressStatus(const std::string& readingFormat, const WalkProgress& progress) {
  return FormatTable(readingFormat, {progress.folder}) + " (" + FormatNumber(progress.filesFound) + ")";
}

std::string TotalsText(const std::string& totalsFormat, const WalkResult& result) {
  return FormatTable(totalsFormat, {FormatNumber(result.totals.files), FormatNumber(result.totals.folders),
                                    FormatNumber(result.totals.bytes), FormatNumber(result.problems.size())});
}

uint32_t ProblemNameId(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kUnreadableFolder:
      return IDS_DC_UNREADABLE_FOLDER;
    case ProblemKind::kBrokenLink:
      return IDS_DC_BROKEN_LINK;
    case ProblemKind::kUnreadableSize:
      return IDS_DC_UNREADABLE_SIZE;
  }
  return IDS_DC_UNREADABLE_FOLDER;
}

std::optional<uint64_t> FileTimeOfWalkTime(int64_t unixSeconds) {
  constexpr auto kEpoch = static_cast<int64_t>(kSecondsFrom1601To1970);
  constexpr auto kLastSecond = static_cast<int64_t>(std::numeric_limits<uint64_t>::max() / kFileTimeTicksPerSecond);
  if (unixSeconds >= 0) {
    if (unixSeconds > kLastSecond - kEpoch) return std::nullopt;
    return FileTimeFromUnixSeconds(static_cast<uint64_t>(unixSeconds));
  }
  if (unixSeconds < -kEpoch) return std::nullopt;
  return static_cast<uint64_t>(unixSeconds + kEpoch) * kFileTimeTicksPerSecond;
}

int64_t WalkTimeOfFileTime(uint64_t fileTime) {
  if (const auto seconds = UnixSecondsFromFileTime(fileTime)) return static_cast<int64_t>(*seconds);
  return static_cast<int64_t>(fileTime / kFileTimeTicksPerSecond) - static_cast<int64_t>(kSecondsFrom1601To1970);
}

std::string DateCellText(const LocalDate& date) {
  return Format("%02u/%02u/%04u %02u:%02u", date.day, date.month, date.year, date.hour, date.minute);
}

std::string FileCellText(const FileRow& row, int column,
                         const std::function<std::optional<LocalDate>(int64_t)>& localDate) {
  if (column == 0) return row.path;
  if (column == 1) return FormatNumber(row.size);
  const auto date = localDate(row.modified);
  return date ? DateCellText(*date) : std::string();
}

}  // namespace qm::dircheck
