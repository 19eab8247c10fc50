#pragma once

#include <QMainWindow>
#include <QString>

class QLabel;
class QMenu;
class QPushButton;
class QGroupBox;

namespace tarvek {

class HelpDesk;

// Screen positions are kept in twips, as the layouts are drawn; 15 twips make a pixel.
constexpr int px(int twips) { return (twips + 7) / 15; }

// A window of the program: a fixed client area in which controls stand at fixed
// positions, an object name after its role, and usually a Help menu.
class Screen : public QMainWindow {
  Q_OBJECT

 public:
  Screen(const QString& objectName, const QString& caption, int clientWidthTwips, int clientHeightTwips,
         QWidget* parent = nullptr);

  QWidget* client() const { return m_client; }

  // The "&Help" menu with "&About" and "&Instructions" for this screen's help topic.
  void addHelpMenu(HelpDesk* help, const char* topic);

  // Closing through the window's own button asks the screen first; the default refuses
  // nothing. Screens that treat it as a command override closeRequested().
  void setClosingAllowed(bool allowed) { m_closingAllowed = allowed; }

  // Shows the window centred on the screen.
  void showCentred();

 signals:
  void closeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

  QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width = 1215,
                         int height = 375);
  QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                   int height = 255);
  QGroupBox* addFrame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                      int height);

 private:
  QWidget* m_client;
  bool m_closingAllowed = true;
};

}  // namespace tarvek
