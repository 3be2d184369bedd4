// What the user types into the record dialogs that the settings keep (pick-list entries and the
// administrator password): kept with its characters, as UTF-8 in the settings. It becomes one
// byte per character only where a device record is taken for the files.
#pragma once

#include <QString>
#include <QStringDecoder>
#include <string>
#include <string_view>

namespace qtx::records {

// A stored text; one stored by an older QTX, one byte per character, reads as it was typed.
inline QString from_settings_text(std::string_view stored) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(stored.data(), static_cast<qsizetype>(stored.size())));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(stored.data(), static_cast<qsizetype>(stored.size()));
}

inline std::string to_settings_text(const QString& text) {
  QByteArray b = text.toUtf8();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

}  // namespace qtx::records
