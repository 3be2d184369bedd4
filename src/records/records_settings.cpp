#include "records/records_settings.h"

#include "core/vb.h"
#include "platform/settings_store.h"

namespace qtx::records {

std::string entry_key(int k, int n) {
  return std::string(kPickLists.at(static_cast<size_t>(k)).entry_prefix) + vb::to_text(n);
}

std::string mandatory_key(int k) { return "FIELD" + vb::to_text(k) + "MANDATORY"; }

int16_t read_count(SettingsStore& store, std::string_view key) {
  return vb::CInt(vb::Val(store.get(kSection, key, kCountDefault)));
}

std::vector<std::string> read_entries(SettingsStore& store, int k, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n) entries.push_back(store.get(kSection, entry_key(k, n), kEntryDefault));
  return entries;
}

bool read_mandatory(SettingsStore& store, int k) {
  return vb::CBool(store.get(kSection, mandatory_key(k), kMandatoryDefault));
}

bool read_password_required(SettingsStore& store) {
  return vb::CBool(store.get(kSection, kPasswordRequiredKey, kPasswordRequiredDefault));
}

}  // namespace qtx::records
