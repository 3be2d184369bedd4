#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/text.h"

namespace qtx::files {

bool exists(std::string_view path) {
  QFileInfo fi(toQ(path));
  return !path.empty() && fi.exists() && fi.isFile();
}

bool remove(std::string_view path) { return !path.empty() && QFile::remove(toQ(path)); }

std::string current_folder() { return fromQ(QDir::toNativeSeparators(QDir::currentPath())); }

}  // namespace qtx::files
