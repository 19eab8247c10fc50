#pragma once

#include "core/programming.h"
#include "gui/screen.h"

namespace tarvek {

// An editor of the Main screen: works on a copy of the record and gives the copy back
// only when Back's checks pass. Closing the window is Back: a failed check keeps it.
class RecordEditor : public Screen {
  Q_OBJECT

 signals:
  // The edited copy, and whether the Main screen's Hookswitch Flash row is to be greyed.
  void backAccepted(const tarvek::Programming& record, bool greyHookswitch);

 protected:
  RecordEditor(const QString& objectName, const QString& caption, int clientWidthTwips, int clientHeightTwips,
               const Programming& record, QWidget* parent);

  // The Back button, and the window's own close button, run back().
  void connectBack(QPushButton* button);
  virtual void back() = 0;

  Programming m_record;  // the copy
};

}  // namespace tarvek
