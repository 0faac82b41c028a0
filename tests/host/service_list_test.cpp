// The services manager's rules: what start and stop allow, the order of the
// list and the row a refresh keeps selected.
#include "services_manager/service_list.h"

#include <gtest/gtest.h>

namespace qm::services {
namespace {

ServiceRow Row(std::string name, std::string display, uint32_t state, uint32_t start = kDemandStart) {
  return ServiceRow{std::move(name), std::move(display), state, start, 0};
}

TEST(ServiceListTest, StartNeedsAStoppedServiceThatIsNotDisabledAndStopIsLeftToTheSystem) {
  EXPECT_TRUE(CanStart(Row("s", "S", kStopped)));
  EXPECT_FALSE(CanStart(Row("s", "S", kStopped, kDisabled)));
  EXPECT_FALSE(CanStart(Row("s", "S", kRunning)));
  EXPECT_FALSE(CanStart(Row("s", "S", kStopPending)));
  for (uint32_t state : {kRunning, kPaused, kStartPending, kContinuePending, kPausePending})
    EXPECT_TRUE(CanStop(Row("s", "S", state))) << state;
  EXPECT_FALSE(CanStop(Row("s", "S", kStopped)));
  EXPECT_FALSE(CanStop(Row("s", "S", kStopPending)));
  EXPECT_TRUE(IsPending(Row("s", "S", kStopPending)));
  EXPECT_FALSE(IsPending(Row("s", "S", kPaused)));
}

TEST(ServiceListTest, RowsSortByDisplayNameIgnoringCaseAndAreFoundByNameIgnoringCase) {
  std::vector<ServiceRow> rows{Row("b2", "print", kRunning), Row("zz", "Audio", kStopped), Row("b1", "Print", kStopped),
                               Row("Spooler", "event", kRunning)};
  SortRows(rows);
  std::vector<std::string> names;
  for (const auto& row : rows) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"zz", "Spooler", "b1", "b2"}));
  EXPECT_EQ(FindRow(rows, "spooler"), 1u);
  EXPECT_EQ(FindRow(rows, "spool"), std::nullopt);
}

}  // namespace
}  // namespace qm::services
