#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace tarvek {

// The program's own 8-bit text is Windows-1252 ("ANSI"): the record's values, the report
// names and lines of settings files, the help texts. These convert it to and from Qt's
// strings, with Qt's converter (through ICU). QtCore only, so a program without widgets
// converts its text the same way.
//
// File names are not such text: they stay in the file system's encoding (UTF-8).

// Every byte has its character; the five bytes the code page leaves undefined come back
// as the control characters of the same number, so they survive a round trip.
QString fromWindows1252(std::string_view bytes);

// A character the code page cannot hold becomes `replacement`, one byte for each.
std::string toWindows1252(QStringView text, char replacement = '?');

}  // namespace tarvek
