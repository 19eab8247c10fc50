#include "port/text_codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

namespace tarvek {

namespace {

// Qt knows Windows-1252 only through ICU. A Qt built without it cannot convert the
// program's text at all: say so at once rather than show or write the wrong characters.
constexpr const char* kCodePage = "windows-1252";
// Each call converts whole text: nothing (half a surrogate pair) waits for a next call.
constexpr auto kWhole = QStringConverter::Flag::Stateless;

// Converters are made where they are used and never moved: Qt 6.4 loses track of the
// errors of a converter that was moved.
void check(const QStringConverter& converter) {
  if (!converter.isValid()) qFatal("This Qt cannot convert %s text: it was built without ICU.", kCodePage);
}

}  // namespace

QString fromWindows1252(std::string_view bytes) {
  QStringDecoder decoder(kCodePage, kWhole);
  check(decoder);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toWindows1252(QStringView text, char replacement) {
  QStringEncoder encoder(kCodePage, kWhole);
  check(encoder);
  const QByteArray whole = encoder.encode(text);
  if (!encoder.hasError()) return std::string(whole.constData(), static_cast<std::size_t>(whole.size()));
  // ICU puts its own control character in place of a character the code page lacks,
  // which a real control character in the text cannot be told from: go one character
  // (one code point) at a time.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size();) {
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const qsizetype length = pair ? 2 : 1;
    QStringEncoder one(kCodePage, kWhole);
    const QByteArray byte = one.encode(text.sliced(i, length));
    bytes += one.hasError() || byte.size() != 1 ? replacement : byte[0];
    i += length;
  }
  return bytes;
}

}  // namespace tarvek
