#include "gui/report_printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "port/text_codec.h"

namespace tarvek::report {

namespace {

QRectF paintArea(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()).toRectF(); }

}  // namespace

QFont font() {
  QFont courier;
  // Liberation Mono has Courier New's measures, so columns fall where they would there.
  courier.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Courier")});
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  courier.setPointSize(10);
  return courier;
}

int linesPerPage(QPrinter& printer) {
  const QFontMetricsF metrics(font(), &printer);
  return std::max(1, static_cast<int>(paintArea(printer).height() / metrics.lineSpacing()));
}

bool print(QPrinter& printer, const std::vector<Line>& lines) {
  const std::vector<Page> pages = paginate(lines, linesPerPage(printer));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QFont regular(font(), &printer);
  QFont bold(regular);
  bold.setBold(true);
  const QFontMetricsF metrics(regular, &printer);

  bool first = true;
  for (const Page& page : pages) {
    if (!first && !printer.newPage()) return false;
    first = false;
    qreal top = 0;
    for (const Line& line : page) {
      if (!line.text.empty()) {
        painter.setFont(line.bold ? bold : regular);
        painter.drawText(QPointF(0, top + metrics.ascent()), fromWindows1252(line.text));
      }
      top += metrics.lineSpacing();
    }
  }
  return painter.end();
}

void preview(QPrinter& printer, const std::vector<Line>& lines, QWidget* parent) {
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
  dialog.setWindowTitle(QStringLiteral("Print Preview"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&lines](QPrinter* target) { print(*target, lines); });
  dialog.exec();
}

}  // namespace tarvek::report
