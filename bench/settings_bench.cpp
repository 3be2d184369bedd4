// The administrator dialog's save with long pick lists: one key per entry, written to the
// settings file in one go.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/app.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "records/frmSysAd.h"
#include "records/records_settings.h"

using namespace qtx;

namespace {

void BM_AdministratorSave(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  QTemporaryDir dir;
  IniSettingsStore settings(pathFromQ(dir.path()) + "/qtx/qtx.ini");
  {
    SettingsBatch batch(settings);
    for (int k = 0; k < kPickListCount; ++k) {
      int count = entries / kPickListCount + (k < entries % kPickListCount ? 1 : 0);
      settings.save(records::kSection, records::kPickLists[static_cast<size_t>(k)].count_key, std::to_string(count));
      for (int n = 1; n <= count; ++n)
        settings.save(records::kSection, records::entry_key(k, n), "Entry number " + std::to_string(n));
    }
  }
  auto comm = make_qt_serial_port(settings);
  QtUi ui;
  SystemClock clock;
  App app(settings, *comm, ui, clock);
  frmSysAd& dialog = app.forms().get<frmSysAd>();
  int round = 0;
  for (auto _ : state) {
    // A changed password, so every save has something to write.
    app.session().admin_password = "pw" + std::to_string(++round);
    dialog.save_sys_admin();
  }
  state.counters["entries"] = entries;
  state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(BM_AdministratorSave)->Arg(400)->Arg(800)->Arg(1600)->Arg(3200)->Unit(benchmark::kMillisecond);

}  // namespace
