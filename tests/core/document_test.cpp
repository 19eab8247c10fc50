#include "core/document.h"

#include <gtest/gtest.h>

#include "core/display_lines.h"

namespace tarvek {
namespace {

// What counts as a change since the snapshot: the record only, never the state beside it.
TEST(Document, ChangedSinceTheSnapshot) {
  Programming edited = newProgramming();
  edited.global.ringDelay = "3";
  Document document;
  int redraws = 0;
  document.setObserver([&] { ++redraws; });
  EXPECT_FALSE(document.isChanged());
  document.setRecord(newProgramming());
  EXPECT_TRUE(document.isChanged()) << "new, not yet snapshot";
  document.setRecord(edited);
  document.snapshot();
  EXPECT_FALSE(document.isChanged()) << "the edit saved";
  document.setRecord(edited);
  document.setOnline();
  document.greyHookswitch();
  document.setFilePath("Site A.txt");
  EXPECT_FALSE(document.isChanged()) << "the same record again, online, greyed, a file";
  Programming readForm = edited;
  readForm.phoneNumbers[lines::phoneLineIndex(1, 1)] = lines::notProgrammed(1, 7);
  document.setRecord(readForm);
  EXPECT_FALSE(document.isChanged()) << "a read's form of the same value";
  document.setRecord(newProgramming());
  EXPECT_TRUE(document.isChanged()) << "back to the new programming";
  // Every new record and the greying, never the flag, the file or the snapshot.
  EXPECT_EQ(redraws, 6);
}

}  // namespace
}  // namespace tarvek
