#pragma once

#include <vector>

#include "core/report.h"

class QFont;
class QPrinter;
class QWidget;

// Paints the printed report on a printer (or a PDF file, or a preview), page by page.
namespace tarvek::report {

// The report's fixed-pitch font: Courier 10 point, or the fonts made to its measure.
QFont font();

// How many report lines fit on one page of this printer.
int linesPerPage(QPrinter& printer);

// Prints the lines; false when the printer could not be started.
bool print(QPrinter& printer, const std::vector<Line>& lines);

// Shows the pages as they will print; the preview's own Print button prints them.
void preview(QPrinter& printer, const std::vector<Line>& lines, QWidget* parent);

}  // namespace tarvek::report
