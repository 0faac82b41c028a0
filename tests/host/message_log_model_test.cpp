#include "msglog/message_log_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/sim_system.h"
#include "tests/host/test_bytes.h"

namespace qm {
namespace {

MessageRecord Record(uint32_t message, MessageKind kind, uint64_t timeMs, uint64_t wParam = 0, uint64_t lParam = 0) {
  MessageRecord record;
  record.window = 0x1234;
  record.message = message;
  record.kind = kind;
  record.timeMs = timeMs;
  record.wParam = wParam;
  record.lParam = lParam;
  return record;
}

MessageRecord SetText(uint64_t timeMs, const std::u16string& text, MessageKind kind = MessageKind::Sent) {
  MessageRecord record = Record(0x000C, kind, timeMs, 0, 0x12FF00);
  SetRecordText(record, text.data(), text.size());
  return record;
}

class MessageLog : public ::testing::Test {
 protected:
  std::vector<std::string> Row(const MessageLogModel& model, size_t row) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < kLogColumnCount; ++c) cells.push_back(model.CellText(row, static_cast<LogColumn>(c)));
    return cells;
  }
  SimStrings strings_;
};

TEST_F(MessageLog, RowsShowEveryColumnAsText) {
  MessageLogModel model(strings_);
  MessageRecord returned = SetText(1005, u"Hola, \"mundo\"", MessageKind::Returned);
  returned.result = 1;
  model.Append(
      {SetText(1000, u"Hola, \"mundo\""), returned, Record(0x0100, MessageKind::Posted, 1012, 0x0D, 0x001C0001)});
  ASSERT_EQ(model.ShownCount(), 3u);
  EXPECT_EQ(Row(model, 0), (std::vector<std::string>{"1", "0", "0x00001234", "enviado", "WM_SETTEXT", "0x00000000",
                                                     "0x0012ff00", "", "texto=\"Hola, \"mundo\"\""}));
  EXPECT_EQ(model.CellText(1, LogColumn::Kind), "devuelto");
  EXPECT_EQ(model.CellText(1, LogColumn::Time), "5");
  EXPECT_EQ(model.CellText(1, LogColumn::Result), "0x00000001");
  EXPECT_EQ(Row(model, 2)[3], "encolado");
  EXPECT_EQ(Row(model, 2)[8], "tecla=VK_RETURN, repetición=1, escaneo=0x1C");
  EXPECT_EQ(model.ColumnTitle(LogColumn::Number), "Nº");
  EXPECT_EQ(model.ColumnTitle(LogColumn::Details), "Detalles");
  EXPECT_EQ(model.CellText(3, LogColumn::Number), "") << "past the rows";
  EXPECT_EQ(std::u16string(model.RowRecord(0).text, model.RowRecord(0).textLength), u"Hola, \"mundo\"");
}

TEST_F(MessageLog, TheFilterChangesWhatIsShownNeverWhatIsRecorded) {
  MessageLogModel model(strings_);
  model.Append({Record(0x000F, MessageKind::Sent, 0), Record(0x0200, MessageKind::Posted, 1),
                Record(0x0201, MessageKind::Posted, 2), Record(0x0113, MessageKind::Posted, 3)});
  MessageFilter filter;
  filter.SetGroupShown(MessageGroup::Mouse, false);
  filter.SetRule("WM_LBUTTONDOWN", MessageRule::Include);
  model.SetFilter(filter);
  EXPECT_EQ(model.RecordedCount(), 4u);
  ASSERT_EQ(model.ShownCount(), 3u);
  // Rows keep the record's own number.
  EXPECT_EQ(model.CellText(1, LogColumn::Number), "3");
  EXPECT_EQ(model.CellText(1, LogColumn::Message), "WM_LBUTTONDOWN");
  // What arrives later is filtered the same way.
  model.Append({Record(0x0200, MessageKind::Posted, 4), Record(0x000F, MessageKind::Sent, 5)});
  EXPECT_EQ(model.RecordedCount(), 6u);
  EXPECT_EQ(model.ShownCount(), 4u);
  // Showing everything again brings back every record.
  model.SetFilter(MessageFilter());
  EXPECT_EQ(model.ShownCount(), 6u);
  EXPECT_EQ(model.CellText(1, LogColumn::Message), "WM_MOUSEMOVE");
}

TEST_F(MessageLog, RegisteredNamesComeFromTheCallerAndFilterByName) {
  MessageLogModel model(strings_,
                        [](uint32_t m) { return m == 0xC100 ? std::string("TaskbarCreated") : std::string(); });
  model.Append({Record(0xC100, MessageKind::Posted, 0), Record(0xC101, MessageKind::Posted, 0)});
  EXPECT_EQ(model.CellText(0, LogColumn::Message), "TaskbarCreated");
  EXPECT_EQ(model.CellText(1, LogColumn::Message), "0xC101");
  MessageFilter filter;
  filter.SetRule("TaskbarCreated", MessageRule::Exclude);
  model.SetFilter(filter);
  ASSERT_EQ(model.ShownCount(), 1u);
  EXPECT_EQ(model.CellText(0, LogColumn::Message), "0xC101");
}

TEST_F(MessageLog, StatusCountsAndClear) {
  MessageLogModel model(strings_);
  model.Append({Record(0x000F, MessageKind::Sent, 500), Record(0x0200, MessageKind::Posted, 700)});
  MessageFilter filter;
  filter.SetGroupShown(MessageGroup::Paint, false);
  model.SetFilter(filter);
  model.SetLost(1234);
  EXPECT_EQ(model.StatusText(), "Registrados: 2   Mostrados: 1   Perdidos: 1.234");
  // "Borrar": counts, numbers and times start again; the filter stays.
  model.Clear();
  EXPECT_EQ(model.StatusText(), "Registrados: 0   Mostrados: 0   Perdidos: 0");
  model.SetLost(1236);
  model.Append({Record(0x0200, MessageKind::Posted, 900), Record(0x000F, MessageKind::Sent, 950)});
  EXPECT_EQ(model.StatusText(), "Registrados: 2   Mostrados: 1   Perdidos: 2");
  EXPECT_EQ(model.CellText(0, LogColumn::Number), "1");
  EXPECT_EQ(model.CellText(0, LogColumn::Time), "0");
  // A loss count never goes back (a stale value read late).
  model.SetLost(5);
  EXPECT_EQ(model.LostCount(), 2u);
}

TEST_F(MessageLog, TimesCountFromTheStartOfTheLog) {
  MessageLogModel model(strings_);
  model.SetStartTime(900);
  // A record stamped a moment before the start (another thread's clock
  // read) shows 0, never a wrapped number.
  model.Append({Record(0x000F, MessageKind::Sent, 1000), Record(0x000F, MessageKind::Sent, 899)});
  EXPECT_EQ(model.CellText(0, LogColumn::Time), "100");
  EXPECT_EQ(model.CellText(1, LogColumn::Time), "0");
}

TEST_F(MessageLog, FindGoesToTheNextRowWithTheTextAndWrapsRound) {
  MessageLogModel model(strings_);
  model.Append({SetText(0, u"Aceptar"), Record(0x000F, MessageKind::Sent, 1), SetText(2, u"cancelar"),
                Record(0x0200, MessageKind::Posted, 3)});
  EXPECT_EQ(model.Find("ACEPTAR", std::nullopt), 0u);
  EXPECT_EQ(model.Find("wm_settext", 0), 2u);
  EXPECT_EQ(model.Find("wm_settext", 2), 0u) << "wraps round to the top";
  EXPECT_EQ(model.Find("encolado", std::nullopt), 3u);
  EXPECT_EQ(model.Find("no está", std::nullopt), std::nullopt);
  EXPECT_EQ(model.Find("", std::nullopt), std::nullopt);
  EXPECT_EQ(model.Find("WM_PAINT", 99), 1u) << "a row past the end starts from the top";
}

TEST_F(MessageLog, TextsPastTheBudgetAreDroppedAndMarkedCut) {
  MessageLogModel model(strings_, {}, 10);
  model.Append({SetText(0, u"12345678"), SetText(1, u"abcdef"), SetText(2, u"xy")});
  EXPECT_EQ(model.CellText(0, LogColumn::Details), "texto=\"12345678\"");
  EXPECT_EQ(model.CellText(1, LogColumn::Details), "texto=\"\"…");
  EXPECT_EQ(model.CellText(2, LogColumn::Details), "texto=\"xy\"");
}

class MessageLogSave : public MessageLog {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qm-msglog-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(MessageLogSave, TextAndCsvHoldTheShownRows) {
  MessageLogModel model(strings_);
  model.Append({SetText(0, u"a,\"b\"\tc"), Record(0x000F, MessageKind::Sent, 3)});
  MessageFilter filter;
  filter.SetRule("WM_PAINT", MessageRule::Exclude);
  model.SetFilter(filter);

  ASSERT_TRUE(model.SaveText((dir_ / "log.txt").string()));
  EXPECT_EQ(test::ReadFileText(dir_ / "log.txt"),
            "Nº\tTiempo\tVentana\tTipo\tMensaje\twParam\tlParam\tResultado\tDetalles\r\n"
            "1\t0\t0x00001234\tenviado\tWM_SETTEXT\t0x00000000\t0x0012ff00\t\ttexto=\"a,\"b\" c\"\r\n");

  ASSERT_TRUE(model.SaveCsv((dir_ / "log.csv").string()));
  EXPECT_EQ(test::ReadFileText(dir_ / "log.csv"),
            "\xEF\xBB\xBFNº,Tiempo,Ventana,Tipo,Mensaje,wParam,lParam,Resultado,Detalles\r\n"
            "1,0,0x00001234,enviado,WM_SETTEXT,0x00000000,0x0012ff00,,\"texto=\"\"a,\"\"b\"\"\tc\"\"\"\r\n");
}

TEST_F(MessageLogSave, AFailedSaveKeepsTheExistingFile) {
  MessageLogModel model(strings_);
  model.Append({Record(0x000F, MessageKind::Sent, 0)});
  const auto target = dir_ / "log.txt";
  std::ofstream(target) << "earlier log";
  // A folder where the file should go: the write cannot replace it.
  EXPECT_FALSE(model.SaveText((dir_ / "missing" / "log.txt").string()));
  std::filesystem::create_directories(dir_ / "busy.csv");
  EXPECT_FALSE(model.SaveCsv((dir_ / "busy.csv").string()));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "busy.csv"));
  EXPECT_EQ(test::ReadFileText(target), "earlier log");
}

}  // namespace
}  // namespace qm
