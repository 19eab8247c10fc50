#include <QTest>

#include "port/text_codec.h"

using namespace tarvek;

// Linked with QtCore alone: the conversion must serve a program without widgets.
class TextCodecTest : public QObject {
  Q_OBJECT

 private slots:
  void convertsWindows1252BothWays_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decodes");  // false: the text has characters the code page lacks
    QTest::newRow("ASCII") << QByteArray("Site A 555,1234#") << QStringLiteral("Site A 555,1234#") << true;
    QTest::newRow("euro") << QByteArray("\x80 5") << QStringLiteral("\u20ac 5") << true;
    QTest::newRow("curly quotes") << QByteArray("\x93Hi\x94") << QStringLiteral("\u201cHi\u201d") << true;
    QTest::newRow("en dash") << QByteArray(
                                    "1\x96"
                                    "2")
                             << QStringLiteral("1\u20132") << true;
    QTest::newRow("Latin-1 letters") << QByteArray("caf\xe9 \xff") << QStringLiteral("caf\u00e9 \u00ff") << true;
    QTest::newRow("undefined byte survives") << QByteArray("a\x81z") << QStringLiteral("a\u0081z") << true;
    QTest::newRow("control characters") << QByteArray("\0\x1a\x7f", 3) << QStringLiteral("\u0000\u001a\u007f") << true;
    QTest::newRow("Cyrillic") << QByteArray("?-?") << QStringLiteral("\u0416-\u0436") << false;
    QTest::newRow("outside the BMP, one ? each")
        << QByteArray("a?b?") << QStringLiteral("a\U0001F600b\U0001F600") << false;
    QTest::newRow("lone surrogate") << QByteArray("x?") << QStringLiteral("x") + QChar(0xD800) << false;
  }

  void convertsWindows1252BothWays() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, decodes);
    QCOMPARE(QByteArray::fromStdString(toWindows1252(text)), bytes);
    if (decodes) QCOMPARE(fromWindows1252(bytes.toStdString()), text);
  }
};

QTEST_GUILESS_MAIN(TextCodecTest)
#include "tst_text_codec.moc"
