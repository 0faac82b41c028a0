#include "common/recent_file_list.h"

#include <gtest/gtest.h>

#include <map>

namespace qm {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFileList, NewestComesFirstAndTheOldestFallsOffPastCapacity) {
  RecentFileList list(4);
  for (const char* path : {"C:\\a.qmr", "C:\\b.qmr", "", "C:\\c.qmr", "C:\\d.qmr"}) list.Add(path);
  EXPECT_EQ(list.Entries(), (Paths{"C:\\d.qmr", "C:\\c.qmr", "C:\\b.qmr", "C:\\a.qmr"})) << "an empty path is ignored";
  list.Add("C:\\e.qmr");
  EXPECT_EQ(list.Entries(), (Paths{"C:\\e.qmr", "C:\\d.qmr", "C:\\c.qmr", "C:\\b.qmr"}));

  RecentFileList none(0);
  none.Add("C:\\a.qmr");
  EXPECT_TRUE(none.Entries().empty());
}

TEST(RecentFileList, AnotherSpellingOfAListedFileMovesItFirstWithoutARepeat) {
  RecentFileList list(4);
  list.Add("C:\\Docs\\One.qmr");
  list.Add("C:\\Docs\\Two.qmr");
  list.Add("C:\\Docs\\Three.qmr");
  list.Add("c:/DOCS/one.QMR");
  EXPECT_EQ(list.Entries(), (Paths{"c:/DOCS/one.QMR", "C:\\Docs\\Three.qmr", "C:\\Docs\\Two.qmr"}))
      << "the newest spelling is kept";
  list.Add("C:\\Docs\\Two.qmr.bak");
  EXPECT_EQ(list.Entries().size(), 4u) << "a longer name is another file";
}

TEST(RecentFileList, SamePathComparesWholePathsFoldingAsciiCaseAndSlashes) {
  EXPECT_TRUE(IsSameFilePath("C:\\Dir/File.QMR", "c:/dir\\file.qmr"));
  EXPECT_FALSE(IsSameFilePath("C:\\a", "C:\\ab"));
  EXPECT_FALSE(IsSameFilePath("C:\\ab", "C:\\a"));
  EXPECT_FALSE(IsSameFilePath("C:\\a_", "C:\\a\x7f")) << "only letters fold";
  EXPECT_FALSE(IsSameFilePath("C:\\\xc3\x91", "C:\\\xc3\xb1")) << "non-ASCII letters are left alone";
}

TEST(RecentFileList, LoadingSkipsMissingEmptyAndRepeatedValuesAndReadsOnlyTheListsNames) {
  const std::map<std::string, std::string> stored = {
      {"File1", "C:\\one.qmr"}, {"File2", ""},          {"File3", "c:/ONE.qmr"},
      {"File4", "C:\\two.qmr"}, {"File5", "C:\\x.qmr"}, {"File6", "C:\\y.qmr"},
  };
  std::vector<std::string> asked;
  RecentFileList list(5);
  list.Add("C:\\before.qmr");
  list.Load([&](const std::string& name) -> std::optional<std::string> {
    asked.push_back(name);
    const auto found = stored.find(name);
    if (found == stored.end()) return std::nullopt;
    return found->second;
  });
  EXPECT_EQ(list.Entries(), (Paths{"C:\\one.qmr", "C:\\two.qmr", "C:\\x.qmr"})) << "earlier entries are replaced";
  EXPECT_EQ(asked, (Paths{"File1", "File2", "File3", "File4", "File5"}));

  RecentFileList small(2);
  small.Load([](const std::string& name) -> std::optional<std::string> { return "C:\\" + name; });
  EXPECT_EQ(small.Entries(), (Paths{"C:\\File1", "C:\\File2"}));
  small.Load([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
  EXPECT_TRUE(small.Entries().empty());
}

}  // namespace
}  // namespace qm
