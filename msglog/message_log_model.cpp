#include "msglog/message_log_model.h"

#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <limits>

#include "common/atomic_file.h"
#include "common/number_format.h"
#include "common/text.h"
#include "msglog/message_details.h"
#include "res/string_ids.h"

namespace qm {
namespace {

// 4 MiB of text a chunk: a text (at most kRecordTextChars units) never
// crosses into the next one.
constexpr size_t kTextChunkUnits = size_t{2} << 20;

constexpr uint32_t kColumnTitles[kLogColumnCount] = {
    IDS_MSGLOG_COLUMN_NUMBER, IDS_MSGLOG_COLUMN_TIME,    IDS_MSGLOG_COLUMN_WINDOW,
    IDS_MSGLOG_COLUMN_KIND,   IDS_MSGLOG_COLUMN_MESSAGE, IDS_MSGLOG_COLUMN_WPARAM,
    IDS_MSGLOG_COLUMN_LPARAM, IDS_MSGLOG_COLUMN_RESULT,  IDS_MSGLOG_COLUMN_DETAILS};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                     [](char a, char b) { return AsciiLower(a) == AsciiLower(b); }) != haystack.end();
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A tab or line break inside a cell would break the text export's lines.
std::string PlainField(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

}  // namespace

MessageLogModel::MessageLogModel(const IStrings& strings, RegisteredMessageName registered, size_t textBudget)
    : strings_(strings), registered_(std::move(registered)), textBudget_(textBudget) {}

MessageRecord MessageLogModel::Expand(const Stored& stored) const {
  MessageRecord record;
  std::memcpy(static_cast<void*>(&record), stored.head.data(), kHeadSize);
  record.textLength = stored.textLength;
  if (stored.textLength)
    std::copy_n(textChunks_[stored.textChunk].data() + stored.textOffset, stored.textLength, record.text);
  return record;
}

bool MessageLogModel::StoredShown(const Stored& stored) const {
  if (filter_.ShowsEverything()) return true;
  uint32_t message = 0;
  ControlClass windowClass = ControlClass::Other;
  std::memcpy(&message, stored.head.data() + offsetof(MessageRecord, message), sizeof message);
  std::memcpy(&windowClass, stored.head.data() + offsetof(MessageRecord, windowClass), sizeof windowClass);
  const uint64_t key = uint64_t{message} << 8 | static_cast<uint8_t>(windowClass);
  const auto [it, added] = shownByMessage_.try_emplace(key, false);
  if (added) it->second = filter_.Shows(message, windowClass, MessageName(message, windowClass, registered_));
  return it->second;
}

void MessageLogModel::Append(const std::vector<MessageRecord>& records) {
  for (const MessageRecord& record : records) {
    if (stored_.size() >= std::numeric_limits<uint32_t>::max()) {
      ++lost_;  // past what the rows can number
      continue;
    }
    if (!started_) {
      startMs_ = record.timeMs;
      started_ = true;
    }
    Stored stored;
    std::memcpy(stored.head.data(), &record, kHeadSize);
    const size_t length = std::min<size_t>(record.textLength, kRecordTextChars);
    if (length > 0) {
      if (textUsed_ + length > textBudget_) {
        // Past the budget the text is dropped, and the record says it was cut.
        MessageRecord head = record;
        head.fields = static_cast<uint8_t>(head.fields | kFieldTextCut);
        std::memcpy(stored.head.data(), &head, kHeadSize);
      } else {
        if (textChunks_.empty() || textChunks_.back().size() + length > kTextChunkUnits) {
          textChunks_.emplace_back();
          textChunks_.back().reserve(kTextChunkUnits);
        }
        std::u16string& chunk = textChunks_.back();
        stored.textChunk = static_cast<uint32_t>(textChunks_.size() - 1);
        stored.textOffset = static_cast<uint32_t>(chunk.size());
        stored.textLength = static_cast<uint16_t>(length);
        chunk.append(record.text, length);
        textUsed_ += length;
      }
    }
    stored_.push_back(stored);
    if (StoredShown(stored)) shown_.push_back(static_cast<uint32_t>(stored_.size() - 1));
  }
}

void MessageLogModel::Clear() {
  stored_.clear();
  shown_.clear();
  textChunks_.clear();
  textUsed_ = 0;
  started_ = false;
  lostAtClear_ = lost_;
}

void MessageLogModel::SetStartTime(uint64_t nowMs) {
  startMs_ = nowMs;
  started_ = true;
}

void MessageLogModel::SetLost(uint64_t lost) { lost_ = std::max(lost_, lost); }

void MessageLogModel::SetFilter(MessageFilter filter) {
  filter_ = std::move(filter);
  shownByMessage_.clear();
  shown_.clear();
  for (size_t i = 0; i < stored_.size(); ++i)
    if (StoredShown(stored_[i])) shown_.push_back(static_cast<uint32_t>(i));
}

std::string MessageLogModel::StatusText() const {
  return FormatTable(
      strings_.LoadString(IDS_MSGLOG_STATUS),
      {FormatNumber(uint64_t{RecordedCount()}), FormatNumber(uint64_t{ShownCount()}), FormatNumber(LostCount())});
}

std::string MessageLogModel::ColumnTitle(LogColumn column) const {
  return strings_.LoadString(kColumnTitles[static_cast<size_t>(column)]);
}

MessageRecord MessageLogModel::RowRecord(size_t row) const { return Expand(stored_[shown_.at(row)]); }

std::string MessageLogModel::Cell(size_t index, const MessageRecord& r, LogColumn column) const {
  switch (column) {
    case LogColumn::Number:
      return std::to_string(index + 1);
    case LogColumn::Time:
      return Format("%" PRIu64, r.timeMs >= startMs_ ? r.timeMs - startMs_ : 0);
    case LogColumn::Window:
      return LogHandleText(r.window);
    case LogColumn::Kind: {
      static constexpr uint32_t kKinds[] = {IDS_MSGLOG_KIND_SENT, IDS_MSGLOG_KIND_RETURNED, IDS_MSGLOG_KIND_POSTED};
      const auto kind = static_cast<size_t>(r.kind);
      return kind < std::size(kKinds) ? strings_.LoadString(kKinds[kind]) : std::string();
    }
    case LogColumn::Message:
      return MessageName(r.message, r.windowClass, registered_);
    case LogColumn::WParam:
      return LogHandleText(r.wParam);
    case LogColumn::LParam:
      return LogHandleText(r.lParam);
    case LogColumn::Result:
      return r.kind == MessageKind::Returned ? LogHandleText(r.result) : std::string();
    case LogColumn::Details:
      return MessageDetails(r);
  }
  return {};
}

std::string MessageLogModel::CellText(size_t row, LogColumn column) const {
  if (row >= shown_.size()) return {};
  const size_t index = shown_[row];
  return Cell(index, Expand(stored_[index]), column);
}

std::array<std::string, kLogColumnCount> MessageLogModel::RowCells(size_t row) const {
  const size_t index = shown_[row];
  const MessageRecord record = Expand(stored_[index]);
  std::array<std::string, kLogColumnCount> cells;
  for (size_t c = 0; c < kLogColumnCount; ++c) cells[c] = Cell(index, record, static_cast<LogColumn>(c));
  return cells;
}

std::optional<size_t> MessageLogModel::Find(std::string_view text, std::optional<size_t> after) const {
  if (text.empty() || shown_.empty()) return std::nullopt;
  const size_t first = after && *after < shown_.size() ? *after + 1 : 0;
  for (size_t step = 0; step < shown_.size(); ++step) {
    const size_t row = (first + step) % shown_.size();
    for (const std::string& cell : RowCells(row))
      if (ContainsIgnoringCase(cell, text)) return row;
  }
  return std::nullopt;
}

std::string MessageLogModel::TextExport() const {
  std::string text;
  for (size_t c = 0; c < kLogColumnCount; ++c)
    text += (c ? "\t" : "") + PlainField(ColumnTitle(static_cast<LogColumn>(c)));
  text += "\r\n";
  for (size_t row = 0; row < shown_.size(); ++row) {
    const auto cells = RowCells(row);
    for (size_t c = 0; c < kLogColumnCount; ++c) text += (c ? "\t" : "") + PlainField(cells[c]);
    text += "\r\n";
  }
  return text;
}

std::string MessageLogModel::CsvExport() const {
  std::string text = "\xEF\xBB\xBF";
  for (size_t c = 0; c < kLogColumnCount; ++c)
    text += (c ? "," : "") + CsvField(ColumnTitle(static_cast<LogColumn>(c)));
  text += "\r\n";
  for (size_t row = 0; row < shown_.size(); ++row) {
    const auto cells = RowCells(row);
    for (size_t c = 0; c < kLogColumnCount; ++c) text += (c ? "," : "") + CsvField(cells[c]);
    text += "\r\n";
  }
  return text;
}

bool MessageLogModel::SaveText(const std::string& path) const { return WriteFileAtomically(path, TextExport()); }

bool MessageLogModel::SaveCsv(const std::string& path) const { return WriteFileAtomically(path, CsvExport()); }

}  // namespace qm
