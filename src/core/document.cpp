#include "core/document.h"

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

void Document::changed() const {
  if (m_changed) m_changed();
}

}  // namespace tarvek
