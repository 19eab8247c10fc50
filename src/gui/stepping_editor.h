#pragma once

#include "gui/record_editor.h"

namespace tarvek {

struct Session;

// The skeleton of the two editors that show one input at a time: Next Input and
// Previous Input take the shown input into the copy and step round the eight, Back
// takes it and gives the copy back. The session's current input is the one shown.
class SteppingEditor : public RecordEditor {
  Q_OBJECT

 protected:
  SteppingEditor(const QString& objectName, const QString& caption, int clientWidthTwips, int clientHeightTwips,
                 const Programming& record, Session& session, QWidget* parent);

  void connectSteps(QPushButton* previous, QPushButton* back, QPushButton* next);
  // Shows the input the Main screen chose; the constructor of the editor calls it last.
  void showFirstInput();
  int input() const;

  virtual void showInput() = 0;
  // Checks the shown input and writes it into the copy; false keeps it on the screen.
  virtual bool takeInput() = 0;

  Session& m_session;

 private:
  void step(int (*next)(int));
  void back() override;
};

}  // namespace tarvek
