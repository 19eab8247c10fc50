#include "gui/help_viewer.h"

#include <QFont>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/help_topics.h"
#include "core/regular_file.h"
#include "port/text_codec.h"

namespace tarvek {

HelpViewer::HelpViewer(const std::filesystem::path& helpDir, const std::string& topic, QWidget* parent)
    : Screen(QStringLiteral("frmHelpFile"), QStringLiteral("Tarvek Help"), 9420, 7095, parent),
      m_text(new QPlainTextEdit(client())) {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* close = file->addAction(QStringLiteral("&Close"));
  close->setObjectName(QStringLiteral("mnuFileClose"));
  connect(close, &QAction::triggered, this, &QWidget::close);

  m_text->setObjectName(QStringLiteral("txtFileDisplay"));
  m_text->setReadOnly(true);
  m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_text->setFont(QFont(QStringLiteral("Liberation Sans"), 9));
  auto* layout = new QVBoxLayout(client());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_text);

  // A missing file or an unknown topic leaves the empty viewer under its first caption.
  const HelpTopic* entry = findHelpTopic(topic);
  if (!entry) return;
  const std::filesystem::path path = helpDir / std::string(entry->file);
  std::string content;
  files::FileError error;
  if (!files::readStart(path, kReadLimit, content, error)) {
    if (error.special) m_refusal = Refusal{path, error.reason};
    return;
  }
  setWindowTitle(fromWindows1252(entry->caption));
  m_text->setPlainText(fromWindows1252(content));
}

QString HelpViewer::text() const { return m_text->toPlainText(); }

}  // namespace tarvek
