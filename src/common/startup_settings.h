// The start-up settings of the main window and the file routines: the port in use, the series
// and the folders. Every key lies in section "Startup"; the key names and their defaults stand
// here and nowhere else. The folders' defaults follow the folder the program started in.
#pragma once

#include <string_view>

namespace qtx::startup {

inline constexpr std::string_view kSection = "Startup";

// The port in use, COM1-COM4.
inline constexpr std::string_view kCommKey = "comm";
inline constexpr std::string_view kCommDefault = "2";
// Kept as read; nothing else uses it.
inline constexpr std::string_view kSeriesKey = "series";
inline constexpr std::string_view kSeriesDefault = "C";

// Folders: default the start folder itself, or the start folder's "save" or "help" folder.
inline constexpr std::string_view kMainDirKey = "maindir";  // the start folder
inline constexpr std::string_view kSaveDirKey = "savedir";  // "save": every file dialog starts here
inline constexpr std::string_view kInitDirKey = "initdir";  // "save"
inline constexpr std::string_view kHelpDirKey = "helpdir";  // "help"
inline constexpr std::string_view kSaveFolderName = "save";
inline constexpr std::string_view kHelpFolderName = "help";

}  // namespace qtx::startup
