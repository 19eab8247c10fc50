#include "app/qt_prompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

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
  switch (message.buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      // Closing a question with the window's own button counts as Cancel.
      return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
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
