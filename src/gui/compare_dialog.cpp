#include "gui/compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "port/text_codec.h"

namespace tarvek {

CompareDialog::CompareDialog(const QString& fileName, const std::vector<comparison::Difference>& differences,
                             QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(static_cast<int>(differences.size()), 4, this)) {
  setObjectName(QStringLiteral("dlgCompare"));
  setWindowTitle(QStringLiteral("Compare With File"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* caption = new QLabel(
      QStringLiteral("The programming on the Main screen and the file %1 differ in these fields:").arg(fileName), this);
  caption->setObjectName(QStringLiteral("lblDifferences"));
  caption->setWordWrap(true);

  m_table->setObjectName(QStringLiteral("tblDifferences"));
  m_table->setAccessibleName(QStringLiteral("Differences"));
  m_table->setHorizontalHeaderLabels(
      {QStringLiteral("Where"), QStringLiteral("Field"), QStringLiteral("Main Screen"), QStringLiteral("File")});
  m_table->verticalHeader()->hide();
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  int row = 0;
  for (const comparison::Difference& difference : differences) {
    // The values are the record's own text; where and the field are ours, in ASCII.
    const std::string* cells[] = {&difference.where, &difference.field, &difference.first, &difference.second};
    for (int column = 0; column < 4; ++column)
      m_table->setItem(row, column, new QTableWidgetItem(fromWindows1252(*cells[column])));
    ++row;
  }
  // Where and the field as wide as they need; the two values share the rest.
  for (int column = 0; column < 4; ++column)
    m_table->horizontalHeader()->setSectionResizeMode(
        column, column < 2 ? QHeaderView::ResizeToContents : QHeaderView::Stretch);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(m_table);
  layout->addWidget(buttons);
  resize(560, 320);
}

}  // namespace tarvek
