#include "port/settings_texts.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include "core/settings_file.h"
#include "port/text_codec.h"

namespace tarvek {

std::string reportNameOf(const std::string& path) {
  const std::string name = settings::reportName(path);
  return toWindows1252(QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))));
}

std::string savedTimeText() {
  return toWindows1252(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat), ' ');
}

}  // namespace tarvek
