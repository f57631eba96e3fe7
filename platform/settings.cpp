#include "platform/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace decimora::platform {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool IEquals(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

// "[Name]" -> "Name"; anything else -> nullopt-like empty with ok=false.
bool SectionName(std::string_view line, std::string_view* name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  *name = Trim(line.substr(1, line.size() - 2));
  return true;
}

bool KeyValue(std::string_view line, std::string_view* key, std::string_view* value) {
  line = Trim(line);
  if (line.empty() || line.front() == ';' || line.front() == '#') return false;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  *key = Trim(line.substr(0, eq));
  *value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

std::string SettingsPath(std::string_view application) {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/" + Lower(application) + "/settings.ini";
}

SettingRead ReadSetting(std::string_view application, std::string_view section, std::string_view key) {
  SettingRead out;
  const std::string path = SettingsPath(application);
  if (path.empty()) {
    out.status = StoreStatus::Unavailable;
    out.detail = "neither XDG_CONFIG_HOME nor HOME is set";
    return out;
  }
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    if (ec) {
      out.status = StoreStatus::Unavailable;
      out.detail = path + ": " + ec.message();
    }
    return out;  // Missing
  }
  std::ifstream in(path);
  if (!in) {
    out.status = StoreStatus::Unavailable;
    out.detail = path + ": " + std::strerror(errno);
    return out;
  }
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    std::string_view name;
    if (SectionName(line, &name)) {
      inSection = IEquals(name, section);
      continue;
    }
    std::string_view k;
    std::string_view v;
    if (inSection && KeyValue(line, &k, &v) && IEquals(k, key)) {
      out.status = StoreStatus::Ok;
      out.value = std::string(v);
      return out;
    }
  }
  if (in.bad()) {
    out.status = StoreStatus::Unavailable;
    out.detail = path + ": read error";
  }
  return out;
}

bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value, std::string* detail) {
  auto fail = [&](const std::string& why) {
    if (detail != nullptr) *detail = why;
    return false;
  };
  const std::string path = SettingsPath(application);
  if (path.empty()) return fail("neither XDG_CONFIG_HOME nor HOME is set");

  std::vector<std::string> lines;
  std::error_code ec;
  if (fs::exists(path, ec)) {
    std::ifstream in(path);
    if (!in) return fail(path + ": " + std::strerror(errno));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    if (in.bad()) return fail(path + ": read error");
  }

  const std::string entry = std::string(key) + "=" + std::string(value);
  bool inSection = false;
  bool done = false;
  std::size_t sectionEnd = std::string::npos;  // index after the last line of our section
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    std::string_view name;
    if (SectionName(lines[i], &name)) {
      inSection = IEquals(name, section);
      if (inSection) sectionEnd = i + 1;
      continue;
    }
    std::string_view k;
    std::string_view v;
    if (inSection) {
      if (KeyValue(lines[i], &k, &v) && IEquals(k, key)) {
        lines[i] = entry;
        done = true;
      } else if (!Trim(lines[i]).empty()) {
        sectionEnd = i + 1;
      }
    }
  }
  if (!done) {
    if (sectionEnd == std::string::npos) {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(entry);
    } else {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
    }
  }

  const fs::path target(path);
  fs::create_directories(target.parent_path(), ec);
  if (ec) return fail(target.parent_path().string() + ": " + ec.message());
  const std::string tmp = path + ".tmp." + std::to_string(::getpid());
  {
    std::ofstream out(tmp, std::ios::trunc);
    if (!out) return fail(tmp + ": " + std::strerror(errno));
    for (const auto& l : lines) out << l << '\n';
    out.flush();
    if (!out) {
      out.close();
      fs::remove(tmp, ec);
      return fail(tmp + ": write error");
    }
  }
  fs::rename(tmp, target, ec);
  if (ec) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    return fail(path + ": " + ec.message());
  }
  return true;
}

}  // namespace decimora::platform
