// Files by the program's own names (Latin-1 paths, folders joined with the native separator).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qtx::files {

bool exists(std::string_view path);
// Deletes the file; false when it could not be deleted (or did not exist).
bool remove(std::string_view path);
// The current folder, with native separators.
std::string current_folder();

}  // namespace qtx::files
