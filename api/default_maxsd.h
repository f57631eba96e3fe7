// The default maximum of significant digits, kept in the settings store
// (application "Decimora", section "Options", key "MaxSD").
#pragma once

namespace decimora::api {

inline constexpr double kFactoryDefaultMaxSD = 100;

// Loads the stored default into the per-thread DefaultMaxSD, writing "100"
// on first use. A store that cannot be read or written, or a stored value
// that is not a number, gives 100 (said once on stderr); the file is left
// as it is.
void LoadDefaultMaxSD();

}  // namespace decimora::api
