// The record dialogs' tests: the keyboard helpers, and the records section of the settings.
#pragma once

#include <string>

#include "platform/settings_store.h"
#include "records/records_settings.h"
#include "support/keyboard.h"
#include "support/test_app.h"

namespace qtx::test {

inline void store(TestApp& t, std::string_view key, std::string_view value) {
  t.settings().save(records::kSection, key, value);
}
inline std::string stored(TestApp& t, std::string_view key) {
  return t.settings().get(records::kSection, key, "<missing>");
}
inline bool has(TestApp& t, std::string_view key) { return t.settings().contains(records::kSection, key); }

// Another copy of the program on the same settings file (two analysers on two ports), sharing
// the test's desktop.
struct OtherCopy {
  explicit OtherCopy(TestApp& t) : settings(t.settings().path()), app(settings, t.comm(), t.ui, t.clock) {}
  IniSettingsStore settings;
  App app;
};

// The settings file as the next start reads it.
inline std::string reread(TestApp& t, std::string_view key) {
  IniSettingsStore again(t.settings().path());
  return again.get(records::kSection, key, "<missing>");
}

}  // namespace qtx::test
