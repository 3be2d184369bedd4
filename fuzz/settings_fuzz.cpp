// Any settings file: read as the program reads it at start-up (the port number, the series, the
// folders, the pick-list counts and entries, the mandatory flags, the password switch), never a
// fault; written back, it reads as the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/vb.h"
#include "platform/settings_store.h"
#include "records/records_settings.h"

using namespace qtx;

namespace {

class LoadedStore : public MemorySettingsStore {
 public:
  explicit LoadedStore(SettingsTable table) { table_ = std::move(table); }
  const SettingsTable& table() const { return table_; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  LoadedStore store(SettingsTable::from_ini(text));

  vb::CInt(vb::Val(store.get("Startup", "comm", "2")));
  for (const char* key : {"series", "maindir", "savedir", "initdir", "helpdir"}) store.get("Startup", key, "");
  for (int k = 0; k < kPickListCount; ++k) {
    const int16_t count = records::read_count(store, records::kPickLists[k].count_key);
    if (records::read_entries(store, k, count).size() != static_cast<size_t>(count > 0 ? count : 0)) std::abort();
    records::read_mandatory(store, k);
  }
  records::read_count(store, records::kVolumesCountKey);
  records::read_password_required(store);
  store.get(records::kSection, records::kPasswordKey, records::kPasswordDefault);

  // What is written back reads as the same settings.
  const std::string written = store.table().to_ini();
  if (SettingsTable::from_ini(written).to_ini() != written) std::abort();
  return 0;
}
