// The per-user settings store: an INI file per application under
// $XDG_CONFIG_HOME (or ~/.config), e.g. ~/.config/decimora/settings.ini.
#pragma once

#include <string>
#include <string_view>

namespace decimora::platform {

enum class StoreStatus { Ok, Missing, Unavailable };

struct SettingRead {
  StoreStatus status = StoreStatus::Missing;
  std::string value;   // valid when status is Ok
  std::string detail;  // why the store was unavailable
};

// Where the store of an application lives; empty when neither
// XDG_CONFIG_HOME nor HOME is set.
std::string SettingsPath(std::string_view application);

SettingRead ReadSetting(std::string_view application, std::string_view section, std::string_view key);

// Writes one key, keeping every other line of the file as it was (and a
// leading byte-order mark). The file is replaced atomically and flushed to
// disk first, so a failed write never leaves it half written; it keeps its
// permissions, and a symlinked file stays a symlink (its target is written).
// A temporary file left by a killed writer is removed.
// Returns false (with a reason in *detail) when the store cannot be written.
bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value, std::string* detail = nullptr);

}  // namespace decimora::platform
