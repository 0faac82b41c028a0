// The directory check's walk on its own thread, and the texts its window
// shows: progress, totals, cells and dates.
#include "dir_check/walk_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>

#include "common/file_time.h"
#include "common/number_format.h"
#include "dir_check/posix_file_tree.h"
#include "dir_check/walk_report.h"

namespace qm::dircheck {
namespace {

namespace fs = std::filesystem;

// Events as the window's queue would receive them, waited for here.
class EventQueue {
 public:
  void Push(WalkEvent event) {
    const std::lock_guard lock(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }
  bool WaitForDone() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] {
      return std::find(events_.begin(), events_.end(), WalkEvent::kDone) != events_.end();
    });
  }
  std::vector<WalkEvent> Events() {
    const std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<WalkEvent> events_;
};

class WalkRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm-walkrunner-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    for (int i = 0; i < 5; ++i) {
      fs::create_directories(root_ / ("d" + std::to_string(i)));
      std::ofstream(root_ / ("d" + std::to_string(i)) / "f.txt") << "abcd";
    }
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
  EventQueue queue_;
  WalkRunner runner_{[] { return std::make_unique<PosixFileTree>(); }, [this](WalkEvent e) { queue_.Push(e); }};
};

TEST_F(WalkRunnerTest, AWalkEndsOnceWithItsResultAndProgressIsNotifiedOnlyOnceUntilRead) {
  ASSERT_TRUE(runner_.Start(root_.string()));
  EXPECT_TRUE(runner_.IsWalking());
  ASSERT_TRUE(queue_.WaitForDone());
  const std::vector<WalkEvent> events = queue_.Events();
  // Six folders read, progress never taken: one progress message, one end.
  EXPECT_EQ(events, (std::vector<WalkEvent>{WalkEvent::kProgress, WalkEvent::kDone}));
  EXPECT_EQ(runner_.TakeProgress().folder, (root_ / "d4").string()) << "the latest, the last folder read";

  const WalkResult result = runner_.Finish();
  EXPECT_FALSE(runner_.IsWalking());
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.totals.files, 5u);
  EXPECT_EQ(result.totals.bytes, 20u);
  EXPECT_TRUE(runner_.Finish().files.empty()) << "the result is handed over once";

  // The next walk starts afresh.
  ASSERT_TRUE(runner_.Start((root_ / "d0").string()));
  EXPECT_FALSE(runner_.Start(root_.string())) << "one walk at a time";
  runner_.Stop();
  EXPECT_FALSE(runner_.IsWalking());
}

TEST(WalkReport, TimesMeetTheFileTimeEpochBothWaysAndPre1970Survives) {
  EXPECT_EQ(FileTimeOfWalkTime(0), kSecondsFrom1601To1970 * kFileTimeTicksPerSecond);
  EXPECT_EQ(WalkTimeOfFileTime(*FileTimeOfWalkTime(1700000000)), 1700000000);
  // 1960 lies before the Unix epoch but after the file time's.
  EXPECT_EQ(WalkTimeOfFileTime(*FileTimeOfWalkTime(-315619200)), -315619200);
  EXPECT_EQ(FileTimeOfWalkTime(-static_cast<int64_t>(kSecondsFrom1601To1970)), 0u);
  EXPECT_EQ(FileTimeOfWalkTime(-static_cast<int64_t>(kSecondsFrom1601To1970) - 1), std::nullopt);
  EXPECT_EQ(FileTimeOfWalkTime(INT64_MAX), std::nullopt);
  EXPECT_EQ(WalkTimeOfFileTime(0), -static_cast<int64_t>(kSecondsFrom1601To1970));
}

TEST(WalkReport, CellsTotalsAndStatusReadAsTheWindowShowsThem) {
  const FileRow row{"C:\\a\\b.txt", 1234567, 42};
  int64_t asked = 0;
  const auto date = [&](int64_t seconds) {
    asked = seconds;
    return std::optional<LocalDate>(LocalDate{3, 7, 2024, 9, 5});
  };
  EXPECT_EQ(FileCellText(row, 0, date), "C:\\a\\b.txt");
  EXPECT_EQ(FileCellText(row, 1, date), FormatNumber(uint64_t{1234567}));
  EXPECT_EQ(FileCellText(row, 2, date), "03/07/2024 09:05");
  EXPECT_EQ(asked, 42);
  EXPECT_EQ(FileCellText(row, 2, [](int64_t) { return std::optional<LocalDate>(); }), "");

  WalkResult result;
  result.totals = {3, 2, 4096};
  result.problems.push_back({ProblemKind::kBrokenLink, "x", ""});
  EXPECT_EQ(TotalsText("%s archivo(s), %s carpeta(s), %s bytes; %s problema(s)", result),
            "3 archivo(s), 2 carpeta(s), " + FormatNumber(uint64_t{4096}) + " bytes; 1 problema(s)");
  WalkProgress progress;
  progress.folder = "C:\\a";
  progress.filesFound = 12;
  EXPECT_EQ(ProgressStatus("Leyendo %s", progress), "Leyendo C:\\a (12)");
}

}  // namespace
}  // namespace qm::dircheck
