#pragma once

#include <functional>
#include <string>

#include "core/programming.h"

namespace tarvek {

// The programming the program works on, and the state that goes with it, kept apart
// from every screen: the screens show it and report edits, the editors take a copy and
// give it back, the link and file commands read and write it.
class Document {
 public:
  const Programming& record() const { return m_record; }
  // A new record: edits given back, a read, a file opened, New.
  void setRecord(const Programming& record);

  // A greeting has succeeded in this run; nothing clears it.
  bool online() const { return m_online; }
  void setOnline() { m_online = true; }

  // The unit takes no Hookswitch Flash (a short-layout read, or the Global settings
  // editor said so): the Main screen greys that row for the rest of the run.
  bool hookswitchGreyed() const { return m_hookswitchGreyed; }
  void greyHookswitch();

  // The settings file last opened or saved; empty until then. Save writes to it.
  const std::string& filePath() const { return m_filePath; }
  void setFilePath(const std::string& path) { m_filePath = path; }

  // Marks the record as it is now as the one last read, opened, saved or sent (or
  // begun with New); isChanged() says whether it has been edited since.
  void snapshot() { m_snapshot = m_record; }
  bool isChanged() const;

  // Called after the record or the greying changed: the screen that shows them.
  void setObserver(std::function<void()> changed) { m_changed = std::move(changed); }

 private:
  void changed() const;

  Programming m_record;
  Programming m_snapshot;
  bool m_online = false;
  bool m_hookswitchGreyed = false;
  std::string m_filePath;
  std::function<void()> m_changed;
};

}  // namespace tarvek
