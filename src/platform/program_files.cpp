#include "platform/program_files.h"

#include <QCoreApplication>
#include <QDir>

#include "core/paths.h"
#include "platform/text.h"

#ifndef QTX_DATA_FROM_BIN
#define QTX_DATA_FROM_BIN "../share/qtx"
#endif

namespace qtx::program_files {

std::vector<std::string> shipped_folders(std::string_view name) {
  const QString bin = QCoreApplication::applicationDirPath();
  std::vector<std::string> folders;
  folders.push_back(join_path(fromQ(QDir::toNativeSeparators(bin)), name));
  // An installed program: the data folder, found from the executable's own folder so the
  // installation may be moved as a whole.
  const QString data = QDir::cleanPath(bin + QLatin1Char('/') + QStringLiteral(QTX_DATA_FROM_BIN));
  folders.push_back(join_path(fromQ(QDir::toNativeSeparators(data)), name));
  return folders;
}

}  // namespace qtx::program_files
