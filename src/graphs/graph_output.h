// What the log graph and the trumpet window share to put a graph on paper or into a file: the
// printed page (confirmation, the text lines, the graph drawn below them by the graph control,
// the end of the document) and the image save (the save dialog, the suffix rule, the save
// folder, the draw modes and the road after a file that cannot be written).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/graph_printout.h"

namespace qtx {

class App;
class GraphControl;

namespace graph_output {

// Today's date as the pages print it: "dddd, mmm d yyyy" in the system's language.
std::string page_date(App& app);

// Asks, then prints the page and the graph below it with print placement slot 3 = `slot3`. A
// page that cannot be made (nothing), a printer that fails or a graph that cannot be drawn
// ends with the printing error; the document is then dropped.
void print_graph_page(App& app, GraphControl& graph, const std::optional<graph_printout::Page>& page, int32_t slot3);

// The messages that differ between the windows.
struct ImageSaveTexts {
  const char* bad_suffix;       // title "INVALID SUFFIX"
  const char* bad_file;         // title "INVALID FILE NAME"
  const char* retry_cancelled;  // title "SAVE CANCELLED"; nullptr: ends without a message
};

void save_graph_image(App& app, GraphControl& graph, const ImageSaveTexts& texts);

}  // namespace graph_output
}  // namespace qtx
