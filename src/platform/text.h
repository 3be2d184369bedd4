// Conversions between the program's byte texts (Latin-1) and Qt's strings. Characters that
// Latin-1 lacks become "?".
#pragma once

#include <QByteArray>
#include <QFile>
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

// Names of folders and files are not text of that kind: they keep the file system's encoding
// (UTF-8) inside the program, from where they are read to where a file is opened. These two
// convert them, and only them, to and from Qt's strings.
inline QString pathToQ(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string pathFromQ(const QString& path) {
  QByteArray b = QFile::encodeName(path);
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
