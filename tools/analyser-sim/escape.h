// Bytes as one line of text: the event log writes them so, and the control command "send" reads
// them so. Printable ASCII stands for itself, "\" is "\\", CR LF TAB are "\r" "\n" "\t", every
// other byte is "\xHH" (two hex digits).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim {

std::string escape(std::string_view bytes);
// Also takes "\a" "\f" "\e" "\0"; nullopt for a broken escape.
std::optional<std::string> unescape(std::string_view text);

}  // namespace sim
