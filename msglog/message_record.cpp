#include "msglog/message_record.h"

#include <algorithm>

namespace qm {

void SetRecordText(MessageRecord& record, const char16_t* text, size_t length) {
  const size_t kept = std::min(length, kRecordTextChars);
  std::copy_n(text, kept, record.text);
  std::fill(record.text + kept, record.text + kRecordTextChars, u'\0');
  record.textLength = static_cast<uint16_t>(kept);
  record.fields = static_cast<uint8_t>((record.fields & ~kFieldTextCut) | kFieldText);
  if (length > kRecordTextChars) record.fields = static_cast<uint8_t>(record.fields | kFieldTextCut);
}

}  // namespace qm
