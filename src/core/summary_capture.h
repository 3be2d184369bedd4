// The capture of the analyser's summary after a live test: the text read from the port tick by
// tick, up to the BEL that ends it, then cut before the analyser's own technician line and, with
// a device record, signed off in our own layout. The result is the summary file.
//
// The text collected does not depend on how the analyser's text falls into reads: a BEL or ENQ
// marks a place in the text, and the text around it in the same read is kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/session.h"

namespace qtx::summary_capture {

// Which live test the summary belongs to.
enum class Kind { Rate, Occlusion };

inline constexpr char kBel = '\x07';  // ends the analyser's text
inline constexpr char kEnq = '\x05';  // the analyser's pause mark
// Beyond this many characters collected, each marker adds nothing and every text piece keeps a
// copy of the text before it in the overflow copy.
inline constexpr size_t kTextLimit = 50000;

// Adds one read to the text. Text is appended as it comes; in place of each BEL or ENQ the rate
// capture puts CR LF, the occlusion capture nothing (nothing at all once the text is over the
// limit). Returns true when the read holds BEL: the summary is complete, and what follows the BEL
// is not part of it.
bool add_read(std::string& text, std::string& overflow, std::string_view read, Kind kind);

// Cuts the analyser's own sign-off: from the nine characters before the first "Tech" on. A
// "Tech" within the first nine characters leaves the text as it is.
void cut_before_technician(std::string& text);

// Our sign-off block, each line 71 characters wide: the pump type line with an empty line after
// it (only with a pump type), then the technician line (the fixed blank line, followed by a line
// break, when there is no technician).
std::string sign_off_block(const DeviceRecord& record);

// The summary file's bytes: the text and a final CR LF.
std::string file_bytes(std::string_view text);

}  // namespace qtx::summary_capture
