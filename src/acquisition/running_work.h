// What is running now that keeps its choices and windows until it ends: a live run (any of its
// four steps) or a transfer into the report window. What would disturb it (the download dialog's
// OK, Edit Summary or Data Log) asks here first, and tells the technician instead.
#pragma once

namespace qtx {

class App;

enum class RunningWork { Nothing, LiveRun, Transfer };

RunningWork running_now(App& app);

}  // namespace qtx
