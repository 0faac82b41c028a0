#pragma once
// The rows behind the log window's virtual list: every record read from the
// ring, in order, of which the filter picks the rows shown; the text of each
// cell, finding a text, the status counts, and saving what is shown as text
// or CSV.
//
// A record is kept without its text buffer; texts go to a separate store
// with a cap, so a million records stay a little over a hundred megabytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "msglog/message_filter.h"
#include "msglog/message_names.h"
#include "msglog/message_record.h"
#include "platform/system.h"

namespace qm {

enum class LogColumn : uint8_t { Number, Time, Window, Kind, Message, WParam, LParam, Result, Details };
inline constexpr size_t kLogColumnCount = 9;

// The most UTF-16 units of text the log keeps over all its records; texts
// past it are kept empty and marked cut.
inline constexpr size_t kDefaultLogTextBudget = size_t{16} << 20;

class MessageLogModel {
 public:
  MessageLogModel(const IStrings& strings, RegisteredMessageName registered = {},
                  size_t textBudget = kDefaultLogTextBudget);

  // Adds records in the order read; the ones the filter shows become rows.
  void Append(const std::vector<MessageRecord>& records);
  // "Borrar": forgets every record and starts the times and the loss count
  // again from here.
  void Clear();
  // "Iniciar": the "Tiempo" column counts from nowMs, a reading of the same
  // system millisecond clock the hook stamps records with. Without it (and
  // after Clear) times count from the first record.
  void SetStartTime(uint64_t nowMs);
  // The ring's loss count so far (it only grows).
  void SetLost(uint64_t lost);

  const MessageFilter& Filter() const { return filter_; }
  // Picks the rows again from every record kept.
  void SetFilter(MessageFilter filter);

  size_t RecordedCount() const { return stored_.size(); }
  size_t ShownCount() const { return shown_.size(); }
  uint64_t LostCount() const { return lost_ - lostAtClear_; }
  // "Registrados: %s   Mostrados: %s   Perdidos: %s".
  std::string StatusText() const;

  std::string ColumnTitle(LogColumn column) const;
  // The record of a shown row (its text included).
  MessageRecord RowRecord(size_t row) const;
  std::string CellText(size_t row, LogColumn column) const;

  // The first shown row after `after` (from the top for nullopt), wrapping
  // round once, any of whose cells holds the text, ignoring ASCII case.
  std::optional<size_t> Find(std::string_view text, std::optional<size_t> after) const;

  // The shown rows under a line of titles, tab-separated, CR LF line ends.
  std::string TextExport() const;
  // The same as comma-separated values (quoted where needed), UTF-8 with a
  // byte-order mark so spreadsheets read the accents.
  std::string CsvExport() const;
  // Through the atomic writer: a failed save leaves an existing file as it
  // was. path is UTF-8.
  bool SaveText(const std::string& path) const;
  bool SaveCsv(const std::string& path) const;

 private:
  static constexpr size_t kHeadSize = offsetof(MessageRecord, text);
  struct Stored {
    std::array<uint8_t, kHeadSize> head;  // the record up to its text
    uint32_t textChunk = 0;
    uint32_t textOffset = 0;
    uint16_t textLength = 0;
  };

  MessageRecord Expand(const Stored& stored) const;
  bool StoredShown(const Stored& stored) const;
  std::string Cell(size_t index, const MessageRecord& record, LogColumn column) const;
  std::array<std::string, kLogColumnCount> RowCells(size_t row) const;

  const IStrings& strings_;
  RegisteredMessageName registered_;
  size_t textBudget_;
  size_t textUsed_ = 0;
  std::deque<Stored> stored_;
  // Texts in fixed chunks, so a text never moves once stored.
  std::vector<std::u16string> textChunks_;
  std::vector<uint32_t> shown_;  // indices into stored_
  MessageFilter filter_;
  // The filter's answer depends only on the message and its window's class:
  // asked once per pair, since naming a message builds a string and a
  // registered one asks the system.
  mutable std::unordered_map<uint64_t, bool> shownByMessage_;
  uint64_t startMs_ = 0;
  bool started_ = false;
  uint64_t lost_ = 0;
  uint64_t lostAtClear_ = 0;
};

}  // namespace qm
