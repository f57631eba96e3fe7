#include "platform/system.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace decimora::platform {

std::string UserLoginName() {
  if (const char* name = std::getenv("LOGNAME"); name != nullptr && *name != '\0') return name;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_name != nullptr && *found->pw_name != '\0') {
    return found->pw_name;
  }
  return "user";
}

std::string LibraryDirectory() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path file;
  // The object that holds this very function: a shared library when the
  // library is one, else the program.
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&LibraryDirectory), &info) != 0 && info.dli_fname != nullptr &&
      *info.dli_fname != '\0') {
    file = info.dli_fname;
  }
  // The program itself is named by how it was started (possibly a bare
  // name found on PATH); the kernel knows its full path.
  if (file.empty() || !file.has_parent_path() || !fs::exists(file, ec)) file = fs::read_symlink("/proc/self/exe", ec);
  if (file.empty()) return std::string();
  fs::path dir = fs::weakly_canonical(fs::absolute(file, ec), ec).parent_path();
  return dir.string();
}

}  // namespace decimora::platform
