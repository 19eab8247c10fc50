#pragma once

#include <QObject>
#include <functional>

namespace tarvek {

class Document;
class HelpDesk;
class Navigator;
class Prompts;
class RecordEditor;
struct Session;

// The Main screen's three Edit commands. An editor works on a copy of the document's
// record; its Back gives the copy back, the Main screen returns and the editor goes.
class Editors : public QObject {
  Q_OBJECT

 public:
  Editors(Document& document, Session& session, Prompts& prompts, HelpDesk& help, Navigator& screens,
          QObject* parent = nullptr);

  void openGlobal();
  // The two list editors start at input 1.
  void openInputSpecs();
  void openPhoneNumbers();

 private:
  void open(const std::function<RecordEditor*()>& make);

  Document& m_document;
  Session& m_session;
  Prompts& m_prompts;
  HelpDesk& m_help;
  Navigator& m_screens;
};

}  // namespace tarvek
