#include "msglog/hook/session_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msglog/attach_failure_text.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

constexpr uint32_t kSlots = 8;

// Ordinary memory standing in for the shared section.
struct Section {
  explicit Section(size_t bytes = SessionBlockSize(kSlots)) : words((bytes + 7) / 8) {}
  std::span<uint8_t> bytes() { return {reinterpret_cast<uint8_t*>(words.data()), words.size() * 8}; }
  SessionHeader& header() { return *reinterpret_cast<SessionHeader*>(words.data()); }
  std::vector<uint64_t> words;
};

std::u16string Name(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

TEST(SessionBlock, TheTargetSeesTheWindowsAndWritesWhatQuillmarReads) {
  Section section;
  const std::vector<WatchedWindow> windows = {{0x10010, ControlClass::Other}, {0x20020, ControlClass::Edit}};
  auto reader = LayOutSession(section.bytes(), windows, kSlots);
  ASSERT_TRUE(reader);
  WatchedWindows watched;
  auto writer = OpenSession(section.bytes(), watched);
  ASSERT_TRUE(writer);
  EXPECT_EQ(watched.Count(), 2u);
  ASSERT_NE(watched.Find(0x20020), nullptr);
  EXPECT_EQ(watched.Find(0x20020)->windowClass, ControlClass::Edit);
  EXPECT_EQ(watched.Find(0x30030), nullptr);

  MessageRecord record;
  record.window = 0x20020;
  record.message = 0x000C;
  SetRecordText(record, u"hola", 4);
  ASSERT_TRUE(writer->Write(record));
  std::vector<MessageRecord> read;
  ASSERT_TRUE(reader->Read(read, 10));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(std::u16string(read[0].text, read[0].textLength), u"hola");
  // The ring starts past the header: writing records left it as it was.
  EXPECT_EQ(section.header().windowCount, 2u);
  EXPECT_EQ(section.header().windows[1], 0x20020u);
}

TEST(SessionBlock, ChildrenMadeLaterAreFollowedOnlyWhenAskedAndAfterTheListedOnes) {
  const std::vector<WatchedWindow> windows = {{0x10010, ControlClass::Other}, {0x20020, ControlClass::Edit}};
  for (const uint64_t options : {uint64_t{0}, kSessionOptionNewChildren}) {
    Section section;
    ASSERT_TRUE(LayOutSession(section.bytes(), windows, kSlots, options));
    WatchedWindows watched;
    ASSERT_TRUE(OpenSession(section.bytes(), watched));
    EXPECT_EQ(watched.FollowsNewChildren(), options != 0);
    EXPECT_EQ(watched.Root(), 0x10010u);
    // A new child joins without disturbing the windows already listed; a
    // window already watched is not listed twice.
    EXPECT_TRUE(watched.Add(0x30030, ControlClass::Button));
    EXPECT_FALSE(watched.Add(0x20020, ControlClass::Button));
    ASSERT_NE(watched.Find(0x30030), nullptr);
    EXPECT_EQ(watched.Find(0x30030)->windowClass, ControlClass::Button);
    EXPECT_EQ(watched.Find(0x20020)->windowClass, ControlClass::Edit);
    EXPECT_EQ(watched.Count(), 3u);
    watched.Clear();
    EXPECT_EQ(watched.Root(), 0u);
    EXPECT_FALSE(watched.FollowsNewChildren());
  }
}

TEST(SessionBlock, KeepsTheFirstWindowsOfAWindowWithTooManyChildren) {
  Section section;
  std::vector<WatchedWindow> windows;
  for (uint64_t i = 1; i <= kSessionMaxWindows + 5; ++i) windows.push_back({i, ControlClass::Button});
  ASSERT_TRUE(LayOutSession(section.bytes(), windows, kSlots));
  WatchedWindows watched;
  ASSERT_TRUE(OpenSession(section.bytes(), watched));
  EXPECT_EQ(watched.Count(), kSessionMaxWindows);
  EXPECT_NE(watched.Find(kSessionMaxWindows), nullptr);
  EXPECT_EQ(watched.Find(kSessionMaxWindows + 1), nullptr);
}

TEST(SessionBlock, TheTargetRefusesADamagedHeader) {
  const std::vector<WatchedWindow> windows = {{0x10010, ControlClass::Other}, {0x20020, ControlClass::Tab}};
  struct Case {
    const char* what;
    void (*damage)(SessionHeader&);
    ReadError expected;
  };
  const Case cases[] = {
      {"magic", [](SessionHeader& h) { h.magic = 0; }, ReadError::BadSignature},
      {"version", [](SessionHeader& h) { h.version = kSessionVersion + 1; }, ReadError::BadValue},
      {"count", [](SessionHeader& h) { h.windowCount = kSessionMaxWindows + 1; }, ReadError::TooMany},
      {"class", [](SessionHeader& h) { h.windowClasses[1] = kControlClassCount; }, ReadError::BadValue},
      {"null window", [](SessionHeader& h) { h.windows[0] = 0; }, ReadError::BadValue},
      {"repeated window", [](SessionHeader& h) { h.windows[1] = h.windows[0]; }, ReadError::BadValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Section section;
    ASSERT_TRUE(LayOutSession(section.bytes(), windows, kSlots));
    c.damage(section.header());
    WatchedWindows watched;
    auto writer = OpenSession(section.bytes(), watched);
    ASSERT_FALSE(writer);
    EXPECT_EQ(writer.error().code, c.expected);
    EXPECT_EQ(watched.Count(), 0u);
  }
  // A ring whose header was damaged is refused as well.
  Section section;
  ASSERT_TRUE(LayOutSession(section.bytes(), windows, kSlots));
  reinterpret_cast<RingHeader*>(section.bytes().data() + kSessionRingOffset)->slotCount = 3;
  WatchedWindows watched;
  EXPECT_FALSE(OpenSession(section.bytes(), watched));
}

TEST(SessionBlock, RefusesASectionTooSmallForItsRing) {
  Section small(kSessionRingOffset - 8);
  EXPECT_FALSE(LayOutSession(small.bytes(), {}, kSlots));
  WatchedWindows watched;
  EXPECT_FALSE(OpenSession(small.bytes(), watched));
  Section noRoom(SessionBlockSize(kSlots) - 64);
  EXPECT_FALSE(LayOutSession(noRoom.bytes(), {}, kSlots));
}

TEST(SessionBlock, NamesTheSectionAfterQuillmarAndTheSession) {
  std::array<char16_t, 64> name;
  name.fill(u'x');
  const size_t length = SessionSectionName(4294967295u, 7, name);
  EXPECT_EQ(std::u16string(name.data(), length), u"Local\\quillmar-msglog-1-4294967295-7");
  EXPECT_EQ(name[length], u'\0');
  EXPECT_EQ(std::u16string(name.data(), SessionSectionName(12, 0, name)), u"Local\\quillmar-msglog-1-12-0");
}

TEST(ControlClassFromName, KnowsTheControlsWhoseMessagesItNames) {
  const std::pair<const char*, ControlClass> cases[] = {
      {"Button", ControlClass::Button},
      {"BUTTON", ControlClass::Button},
      {"Edit", ControlClass::Edit},
      {"RichEdit20W", ControlClass::Edit},
      {"ListBox", ControlClass::ListBox},
      {"ComboLBox", ControlClass::ListBox},
      {"ComboBox", ControlClass::ComboBox},
      {"SysListView32", ControlClass::ListView},
      {"systreeview32", ControlClass::TreeView},
      {"SysTabControl32", ControlClass::Tab},
      {"ToolbarWindow32", ControlClass::Toolbar},
      {"msctls_statusbar32", ControlClass::StatusBar},
      {"SysHeader32", ControlClass::Header},
      {"Buttons", ControlClass::Other},
      {"Edi", ControlClass::Other},
      {"#32770", ControlClass::Other},
      {"", ControlClass::Other},
  };
  for (const auto& [name, expected] : cases) {
    const std::u16string text = Name(name);
    EXPECT_EQ(ControlClassFromName(text.data(), text.size()), expected) << name;
  }
  EXPECT_EQ(ControlClassFromName(nullptr, 4), ControlClass::Other);
}

TEST(AttachFailureText, SaysWhichCaseItIs) {
  SimStrings strings;
  const AttachFailure failures[] = {AttachFailure::NoWindow,      AttachFailure::OtherBitness,
                                    AttachFailure::Elevated,      AttachFailure::LowIntegrity,
                                    AttachFailure::NoHookLibrary, AttachFailure::NotResponding,
                                    AttachFailure::SystemError};
  std::vector<std::string> texts;
  for (AttachFailure failure : failures) {
    const std::string text = AttachFailureText({failure, 5}, strings, "quillmar-hook-0.1.0-x64.dll", 64);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find('%'), std::string::npos) << text;
    for (const std::string& earlier : texts) EXPECT_NE(text, earlier);
    texts.push_back(text);
  }
  EXPECT_TRUE(AttachFailureText({}, strings, "x.dll", 64).empty());
  EXPECT_EQ(AttachFailureText({AttachFailure::OtherBitness}, strings, "x.dll", 64),
            "La ventana pertenece a un proceso de 32 bits y este Quillmar es de 64 bits\nPara registrar sus "
            "mensajes use el Quillmar de 32 bits");
  EXPECT_NE(AttachFailureText({AttachFailure::OtherBitness}, strings, "x.dll", 32).find("proceso de 64 bits"),
            std::string::npos);
  EXPECT_NE(AttachFailureText({AttachFailure::NoHookLibrary}, strings, "quillmar-hook-9.dll", 64)
                .find("quillmar-hook-9.dll junto a Quillmar"),
            std::string::npos);
  EXPECT_NE(AttachFailureText({AttachFailure::NotResponding}, strings, "", 64).find("en 5 segundos"),
            std::string::npos);
  EXPECT_NE(AttachFailureText({AttachFailure::SystemError, 1450}, strings, "", 64).find("(error 1450, 0x5AA)"),
            std::string::npos);
}

}  // namespace
}  // namespace qm
