// The settings of the device records and their administration: the nine pick lists with their
// counts, the mandatory flags, the administrator password and whether it is asked for. Every
// key lies in section "Startup"; the key names and their defaults stand here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"

namespace qtx {
class SettingsStore;
}

namespace qtx::records {

inline constexpr std::string_view kSection = "Startup";

// One pick list: its count key and the prefix of its entry keys (prefix & n, n from 1).
struct PickListKeys {
  std::string_view count_key;
  std::string_view entry_prefix;
};

// Indexed by the field index k (0-8).
inline constexpr std::array<PickListKeys, kPickListCount> kPickLists{{
    {"tempNumManu", "Manufacturer"},
    {"tempNumVTBI", "VTBI"},
    {"tempNumTechnicians", "Technician"},
    {"tempNumModels", "Model"},
    {"tempNumFlowRates", "FlowRate"},
    {"tempNumLocations", "Location"},
    {"tempNumDepartments", "Department"},
    {"tempNumPumpTypes", "PumpType"},
    {"tempNumPumpTolerances", "PumpTolerance"},
}};

// A count without a list; the administrator dialog writes back the value it read.
inline constexpr std::string_view kVolumesCountKey = "tempNumVolumes";

inline constexpr std::string_view kCountDefault = "0";
inline constexpr std::string_view kEntryDefault = "";
inline constexpr std::string_view kMandatoryDefault = "False";

// The administrator password; the prompt takes this one when none was ever stored.
inline constexpr std::string_view kPasswordKey = "password";
inline constexpr std::string_view kPasswordDefault = "8352";

// "True" while the System Administrator item asks for the password.
inline constexpr std::string_view kPasswordRequiredKey = "ispasswordrqd";
inline constexpr std::string_view kPasswordRequiredDefault = "0";

inline constexpr std::string_view kTrueText = "True";
inline constexpr std::string_view kFalseText = "False";

// "Manufacturer3", "FIELD10MANDATORY": decimal numbers without leading zeros.
std::string entry_key(int k, int n);
std::string mandatory_key(int k);

inline std::string_view bool_text(bool value) { return value ? kTrueText : kFalseText; }

// A count as stored: its leading number rounded to a 16-bit whole number, 0 when missing.
int16_t read_count(SettingsStore& store, std::string_view key);
// The entries 1 to count of list k; a missing entry reads as an empty text. A count below 1
// gives no entries.
std::vector<std::string> read_entries(SettingsStore& store, int k, int count);
// Mandatory flag k, False when missing or not a Boolean.
bool read_mandatory(SettingsStore& store, int k);
// Whether the System Administrator item asks for the password.
bool read_password_required(SettingsStore& store);

}  // namespace qtx::records
