// The file-open wrapper of Binderly: a filter list of "description::pattern"
// entries in, the chosen path out (empty when the user cancels).
#pragma once

#include <string>
#include <vector>

namespace binderly {

// Turns "description::pattern" entries into the chooser's filter text: one
// "description<TAB>pattern" line per entry, in list order. Several patterns
// joined by ';' ("*.so;*.exe") become one alternation ("{*.so,*.exe}").
std::string ChooserFilter(const std::vector<std::string>& entries);

// Shows the file-open dialog, starting in `initial_directory`.
std::string GetOpenFileName(const std::vector<std::string>& entries, const std::string& initial_directory);

}  // namespace binderly
