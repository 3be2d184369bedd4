// Files that come with the program: beside the executable in a build folder, in the program's
// data folder once it is installed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qtx::program_files {

// The folders that may hold the shipped folder `name` (for instance "help"), in the order to
// try: beside the executable, then the installed data folder.
std::vector<std::string> shipped_folders(std::string_view name);

}  // namespace qtx::program_files
