#pragma once
// Reading back the dates and times that the user's locale wrote (the short
// date, then a space and the time of day, as ILocale::FileTimeToText
// writes them), so that a list sorts them in the order the user reads them
// whether the locale writes the day, the month or the year first, and
// whether its clock counts 12 hours or 24.

#include "common/list_compare.h"
#include "platform/system.h"

namespace qm {

// Learns the locale's order of day, month and year and its clock by having
// it write known probe dates, then reads texts in that form. A text in
// another form reads as none. When the locale's dates cannot be learnt (no
// digits in its short date), it reads day first.
DateParser LocaleDateParser(const ILocale& locale);

}  // namespace qm
