// Folder and extension rules for the names the file dialogs return.
#pragma once

#include <string>
#include <string_view>

namespace qtx {

// The folder of a path: the path up to, not including, its last separator. A path without a
// separator (or an empty one) gives "".
std::string get_file_dir(std::string_view path);

}  // namespace qtx
