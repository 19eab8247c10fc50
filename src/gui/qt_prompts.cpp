#include "gui/qt_prompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <vector>

namespace tarvek {

QString programTitle() { return QStringLiteral("Tarvek PC Programmer"); }

namespace {

// Messages and file requests are in the system's encoding, UTF-8 (see Message).
QString toQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QMessageBox::Icon iconOf(Icon icon) {
  switch (icon) {
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// What each button of a set answers. A window closed without a button (Escape, its own
// close button) gives the set's escape button: Cancel where there is one, else Ok.
struct Choice {
  QMessageBox::StandardButton button;
  Answer answer;
};

std::vector<Choice> choicesOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return {{QMessageBox::Ok, Answer::Ok}};
    case Buttons::OkCancel:
      return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::YesNoCancel:
      return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::SaveDiscardCancel:
      return {{QMessageBox::Save, Answer::Save},
              {QMessageBox::Discard, Answer::Discard},
              {QMessageBox::Cancel, Answer::Cancel}};
  }
  return {};
}

QString filterOf(const FileRequest& request) {
  QStringList filters;
  for (const auto& filter : request.filters) filters << toQt(filter);
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> chosen(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  const QByteArray bytes = QFile::encodeName(name);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

Answer QtPrompts::show(const Message& message) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(message.title.empty() ? programTitle() : toQt(message.title));
  box.setText(toQt(message.text));
  box.setIcon(iconOf(message.icon));
  if (!message.detail.empty()) box.setInformativeText(toQt(message.detail));
  const std::vector<Choice> choices = choicesOf(message.buttons);
  QMessageBox::StandardButtons standardButtons;
  for (const Choice& choice : choices) standardButtons |= choice.button;
  box.setStandardButtons(standardButtons);
  box.exec();
  const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
  for (const Choice& choice : choices)
    if (choice.button == clicked) return choice.answer;
  // Closed in some other way: a question counts as Cancel, a message as read.
  return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<std::string> QtPrompts::openFileName(const FileRequest& request) {
  return chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), toQt(request.title), toQt(request.folder),
                                             filterOf(request)));
}

std::optional<std::string> QtPrompts::saveFileName(const FileRequest& request) {
  return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), toQt(request.title), toQt(request.folder),
                                             filterOf(request), nullptr, QFileDialog::DontConfirmOverwrite));
}

}  // namespace tarvek
