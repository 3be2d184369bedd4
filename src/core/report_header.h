// The header labels of a received report or summary filled with the record of the device under
// test: values written over the blanks after the labels, a comment line put in when the text has
// none, and for a downloaded summary the flow error against the set rate.
#pragma once

#include <string>

namespace qtx {

struct DeviceRecord;

// Edits `text` in place (replace_header). `downloaded_summary`: the text is a summary of a
// Get Summary download, which gets the flow-error line.
void replace_header(std::string& text, const DeviceRecord& record, bool downloaded_summary);

// The flow error of an average rate against a set rate: "0.00%" for a set rate of 0.
std::string flow_error_text(double average, double set_rate);

}  // namespace qtx
