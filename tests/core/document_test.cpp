#include "core/document.h"

#include <gtest/gtest.h>

#include "core/display_lines.h"

namespace tarvek {
namespace {

// What counts as a change since the snapshot: the record only, never the state beside it.
TEST(Document, ChangedSinceTheSnapshot) {
  Programming edited = newProgramming();
  edited.global.ringDelay = "3";
  const struct {
    const char* name;
    void (*step)(Document&, const Programming& edited);
    bool changed;
  } cases[] = {
      {"new, not yet snapshot", [](Document& d, const Programming&) { d.setRecord(newProgramming()); }, true},
      {"an edit", [](Document& d, const Programming& e) { d.setRecord(e); }, true},
      {"the edit saved", [](Document& d, const Programming&) { d.snapshot(); }, false},
      {"the same record again", [](Document& d, const Programming& e) { d.setRecord(e); }, false},
      {"a read's form of the same value",
       [](Document& d, const Programming& e) {
         Programming form = e;
         form.phoneNumbers[lines::phoneLineIndex(1, 1)] = lines::notProgrammed(1, 7);
         d.setRecord(form);
       },
       false},
      {"online, greyed, a file",
       [](Document& d, const Programming&) {
         d.setOnline();
         d.greyHookswitch();
         d.setFilePath("Site A.txt");
       },
       false},
      {"back to the new programming", [](Document& d, const Programming&) { d.setRecord(newProgramming()); }, true},
  };
  Document document;
  int redraws = 0;
  document.setObserver([&] { ++redraws; });
  EXPECT_FALSE(document.isChanged());
  for (const auto& c : cases) {
    c.step(document, edited);
    EXPECT_EQ(document.isChanged(), c.changed) << c.name;
  }
  // Every new record and the greying, never the flag, the file or the snapshot.
  EXPECT_EQ(redraws, 6);
}

}  // namespace
}  // namespace tarvek
