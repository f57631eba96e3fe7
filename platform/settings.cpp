#include "platform/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
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

// Many editors save UTF-8 with a byte-order mark; it is not part of the
// first line's text.
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool StartsWithBom(std::string_view line) { return line.substr(0, kBom.size()) == kBom; }

// The file a write must replace: a symlinked settings.ini stays a symlink,
// so its final target is what gets written.
fs::path ResolveLinks(fs::path p) {
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    const fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}

// "<name>.tmp.<pid>" left behind by a writer that was killed before its
// rename: removed when that process no longer exists.
void RemoveStaleTemporaries(const fs::path& target) {
  const std::string prefix = target.filename().string() + ".tmp.";
  DIR* dir = ::opendir(target.parent_path().c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.substr(0, prefix.size()) != prefix) continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
      continue;
    }
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
    if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) {
      std::error_code ignore;
      fs::remove(target.parent_path() / std::string(name), ignore);
    }
  }
  ::closedir(dir);
}

// Writes all of text to fd; false on any failure.
bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
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
  bool first = true;
  while (std::getline(in, line)) {
    if (first && StartsWithBom(line)) line.erase(0, kBom.size());
    first = false;
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
  bool bom = false;
  if (fs::exists(path, ec)) {
    std::ifstream in(path);
    if (!in) return fail(path + ": " + std::strerror(errno));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    if (in.bad()) return fail(path + ": read error");
    // The mark is kept when the file is written back, but it must not hide
    // the first section (which would make us append a second one).
    if (!lines.empty() && StartsWithBom(lines.front())) {
      bom = true;
      lines.front().erase(0, kBom.size());
    }
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

  const fs::path target = ResolveLinks(fs::path(path));
  fs::create_directories(target.parent_path(), ec);
  if (ec) return fail(target.parent_path().string() + ": " + ec.message());
  RemoveStaleTemporaries(target);

  std::string text(bom ? kBom : std::string_view());
  for (const auto& l : lines) text.append(l).push_back('\n');

  // The replacement keeps the permissions of the file it replaces (a new
  // file gets the usual ones, as the umask allows).
  mode_t mode = 0666;
  bool keepMode = false;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    keepMode = true;
  }
  const std::string tmp = target.string() + ".tmp." + std::to_string(::getpid());
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return fail(tmp + ": " + std::strerror(errno));
  // The data must be on disk before the rename makes it the settings file,
  // or a crash could leave an empty file in its place.
  const bool written = WriteAll(fd, text) && (!keepMode || ::fchmod(fd, mode) == 0) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !written) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    return fail(tmp + ": " + std::strerror(written ? errno : writeErrno));
  }
  fs::rename(tmp, target, ec);
  if (ec) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    return fail(target.string() + ": " + ec.message());
  }
  // Make the rename itself durable.
  if (const int dirFd = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace decimora::platform
