#include "msglog/message_record.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

TEST(MessageRecord, TextIsCutAtTheRecordsLimitAndMarked) {
  MessageRecord record;
  const std::u16string shortText = u"Título";
  SetRecordText(record, shortText.data(), shortText.size());
  EXPECT_EQ(std::u16string(record.text, record.textLength), shortText);
  EXPECT_EQ(record.fields & (kFieldText | kFieldTextCut), kFieldText);

  const std::u16string longText(kRecordTextChars + 1, u'x');
  SetRecordText(record, longText.data(), longText.size());
  EXPECT_EQ(record.textLength, kRecordTextChars);
  EXPECT_TRUE(record.fields & kFieldTextCut);

  // A shorter text after a longer one leaves nothing of the old one behind.
  SetRecordText(record, u"ab", 2);
  EXPECT_EQ(record.text[2], u'\0');
  EXPECT_EQ(record.text[kRecordTextChars - 1], u'\0');
  EXPECT_FALSE(record.fields & kFieldTextCut);
}

}  // namespace
}  // namespace qm
