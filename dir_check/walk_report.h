#pragma once
// What the directory check's window writes: the status line while a walk
// reads, the totals, a problem's name and the cells of the file list, and
// the walk's times as the platform's file times for the date column.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dir_check/dir_walk.h"

namespace qm::dircheck {

// "Leyendo %1" with the folder, then the files found so far.
std::string ProgressStatus(const std::string& readingFormat, const WalkProgress& progress);
// The totals format filled with files, folders, bytes and problems.
std::string TotalsText(const std::string& totalsFormat, const WalkResult& result);
// The string ID naming a kind of problem.
uint32_t ProblemNameId(ProblemKind kind);

// A walk's time (seconds since 1970, UTC, negative before it) as a file
// time; none before 1601 or past what a file time holds.
std::optional<uint64_t> FileTimeOfWalkTime(int64_t unixSeconds);
// A file time as a walk's time.
int64_t WalkTimeOfFileTime(uint64_t fileTime);

// A local date and time as the date column shows it: "dd/mm/yyyy hh:mm".
struct LocalDate {
  unsigned day = 0, month = 0, year = 0, hour = 0, minute = 0;
};
std::string DateCellText(const LocalDate& date);

// One cell of the file list (path, size, date); the date through localDate (none: empty).
std::string FileCellText(const FileRow& row, int column,
                         const std::function<std::optional<LocalDate>(int64_t)>& localDate);

}  // namespace qm::dircheck
