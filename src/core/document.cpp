#include "core/document.h"

#include "core/compare.h"

namespace tarvek {

void Document::setRecord(const Programming& record) {
  m_record = record;
  changed();
}

void Document::greyHookswitch() {
  if (m_hookswitchGreyed) return;
  m_hookswitchGreyed = true;
  changed();
}

bool Document::isChanged() const {
  if (m_record == m_snapshot) return false;
  // Compared as the unit would receive it: an editor's Back that only rewrites a form (a
  // read's seven-blank "Not Programmed" as six blanks, "7" as "07") loses nothing when
  // discarded. Records no commands can be built from are compared line for line.
  const comparison::Comparison result = comparison::compare(m_record, m_snapshot, comparison::Layout::Full);
  return !result.problem.empty() || !result.differences.empty();
}

void Document::changed() const {
  if (m_changed) m_changed();
}

}  // namespace tarvek
