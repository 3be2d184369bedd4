// The analyser's own report texts: the test summary ("DL" ch "1") and the data log ("DL" ch "2").
//
// Lines end with CR LF. The header has the labelled blanks the program fills with the device
// record; a summary says "SUMMARY" and gives "Average Rate:"; a data log has its "Elapsed" table
// and "END OF DATA"; pages after the first begin with a form-feed line; the analyser's own
// technician line ("Technician: ...") comes last and BEL ends the report.
#pragma once

#include <string>
#include <vector>

#include "analyser.h"

namespace sim {

// The report as pages; every page after the first begins with its form-feed line, and the last
// page ends with BEL.
std::vector<std::string> summary_pages(char channel, const Channel& ch, const Profile& profile,
                                       const ReportOptions& options);
std::vector<std::string> log_pages(char channel, const Channel& ch, const Profile& profile,
                                   const ReportOptions& options);

// The pages as output, with ENQ (and its pause) where the options put it.
std::vector<Segment> report_segments(const std::vector<std::string>& pages, const ReportOptions& options, char channel);

}  // namespace sim
