#pragma once

#include <QDialog>
#include <vector>

#include "core/compare.h"

class QTableWidget;

namespace tarvek {

// The fields in which the Main screen's programming and a settings file differ, one row
// each: where, the field, the value on the screen and the value in the file. It stays
// open beside the Main screen while the user puts the fields right.
class CompareDialog : public QDialog {
  Q_OBJECT

 public:
  CompareDialog(const QString& fileName, const std::vector<comparison::Difference>& differences,
                QWidget* parent = nullptr);

  QTableWidget* table() const { return m_table; }

 private:
  QTableWidget* m_table;
};

}  // namespace tarvek
