// Conversions between the program's byte texts (Latin-1) and Qt's strings. Characters that
// Latin-1 lacks become "?".
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace qtx {

inline QString toQ(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQ(const QString& text) {
  QByteArray b = text.toLatin1();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// A message text for display: the program separates lines with CR alone or CR LF.
inline QString toDisplayLines(std::string_view text) {
  QString s = toQ(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace qtx
