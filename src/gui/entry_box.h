#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <functional>

class QKeyEvent;

namespace tarvek {

namespace entry {
struct KeyVerdict;
struct PasteVerdict;
}  // namespace entry

class Prompts;

// A text box of an editor that hands every typed character, and every paste, to its
// screen before taking it. Keys that type no character (arrows, Delete, shortcuts) and
// the box's own editing go on as usual.
class EntryBox : public QLineEdit {
  Q_OBJECT

 public:
  // Decides on a typed character: its code (8 Backspace, 13 Enter, 27 Escape; the
  // Unicode value otherwise). Returns whether the box takes it.
  using KeyGate = std::function<bool(int code)>;
  // Decides on text about to be pasted. Returns whether the box takes it.
  using PasteGate = std::function<bool(const QString& pasted)>;

  explicit EntryBox(QWidget* parent = nullptr);

  void setKeyGate(KeyGate gate) { m_keyGate = std::move(gate); }
  void setPasteGate(PasteGate gate) { m_pasteGate = std::move(gate); }

  // The text the box would hold if `pasted` went in at the cursor.
  QString textWith(const QString& pasted) const;

  // Carries out a verdict: empties the box, shows the message and gives the box the
  // focus back. Returns whether the key or paste is taken.
  bool apply(const entry::KeyVerdict& verdict, Prompts& prompts);
  bool apply(const entry::PasteVerdict& verdict, Prompts& prompts);

  // Sets the text only when it differs, so that no change is reported for nothing.
  void setTextQuietly(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void pasteFrom(QClipboard::Mode mode);

  KeyGate m_keyGate;
  PasteGate m_pasteGate;
};

}  // namespace tarvek
