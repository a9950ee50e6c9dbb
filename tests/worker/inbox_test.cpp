// The dialog's words to the worker: what one take hands over, and what it
// leaves for the next.
#include "worker/inbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lumora {
namespace {

TEST(WorkerInbox, AppendsTheConfigurationFieldsComposedAtSubmit) {
  WorkerInbox inbox;
  ASSERT_TRUE(inbox.Open());
  RequestFrame frame;
  StartRequest(frame);
  InboxMail mail = inbox.Take();
  AppendConfigurationFields(mail.configurationFields, frame);
  EXPECT_EQ(mail.configurationAdapter, 0u);  // no adapter known: sent unforced
  EXPECT_EQ(frame.cursor, kMagicSize);       // nothing composed: the magic alone

  const uint8_t kFields[] = {0x10, 6, 1, 2, 3, 4, 5, 6};
  inbox.AskConfiguration(kFields, sizeof kFields, 12);
  mail = inbox.Take();
  AppendConfigurationFields(mail.configurationFields, frame);
  EXPECT_EQ(mail.request, kRequestConfiguration);
  EXPECT_EQ(mail.configurationAdapter, 12u);
  EXPECT_EQ(frame.cursor, kMagicSize + sizeof kFields);
  EXPECT_EQ(0, std::memcmp(frame.bytes + kMagicSize, kFields, sizeof kFields));
  EXPECT_EQ(inbox.Take().request, kRequestNone);  // taken once

  std::vector<uint8_t> tooMany(300, 0x16);
  inbox.AskConfiguration(tooMany.data(), tooMany.size(), 0);
  StartRequest(frame);
  AppendConfigurationFields(inbox.Take().configurationFields, frame);
  EXPECT_EQ(frame.cursor, kRequestSize);
  inbox.Close();
}

}  // namespace
}  // namespace lumora
