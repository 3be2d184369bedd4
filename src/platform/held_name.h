// File names a running copy of the program keeps for itself (its temporary report), so that two
// copies working on one folder never share such a file.
#pragma once

#include <memory>
#include <string_view>

#include "core/session.h"

namespace qtx::files {

// Holds `path` for this copy until the result goes: nothing when another running copy holds it
// (or the folder cannot take the hold). The hold is a lock on a hidden file beside the name
// (".tempfile.dat.lock" for "tempfile.dat"), which the system lets go when the process ends
// however it ends, so a name a crashed copy held is free again; the lock file itself goes when
// the hold is let go.
std::unique_ptr<HeldName> hold_name(std::string_view path);

}  // namespace qtx::files
