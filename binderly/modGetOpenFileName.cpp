#include "binderly/modGetOpenFileName.h"

#include <FL/Fl_Native_File_Chooser.H>

namespace binderly {

std::string ChooserFilter(const std::vector<std::string>& entries) {
  std::string filter;
  for (const std::string& entry : entries) {
    auto separator = entry.find("::");
    std::string description = entry.substr(0, separator);
    std::string pattern = separator == std::string::npos ? "*" : entry.substr(separator + 2);
    if (pattern.find(';') != std::string::npos) {
      std::string alternation = "{";
      for (char c : pattern) alternation += c == ';' ? ',' : c;
      pattern = alternation + "}";
    }
    if (!filter.empty()) filter += '\n';
    filter += description + '\t' + pattern;
  }
  return filter;
}

std::string GetOpenFileName(const std::vector<std::string>& entries, const std::string& initial_directory) {
  Fl_Native_File_Chooser chooser;
  chooser.title("Select Component (SO or EXE) to Register...");
  chooser.type(Fl_Native_File_Chooser::BROWSE_FILE);
  std::string filter = ChooserFilter(entries);
  chooser.filter(filter.c_str());
  chooser.directory(initial_directory.c_str());
  if (chooser.show() != 0 || !chooser.filename()) return {};
  // The chooser hands back the exact name; spaces at its ends belong to it.
  return chooser.filename();
}

}  // namespace binderly
