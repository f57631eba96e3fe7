// A scratch directory for the Binderly tests: fixture libraries, server
// programs written as scripts, and the log the fixtures write their calls to.
#pragma once

#include <dlfcn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace binderly_test {

namespace fs = std::filesystem;

inline std::string Fixture(const std::string& kind) {
  return std::string(BINDERLY_FIXTURE_DIR) + "/libbinderly_fixture_" + kind + ".so";
}

// True while the library at `path` is loaded in this process.
inline bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

// Polls `condition` for up to `limit`.
template <class Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::milliseconds{10000}) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds{5});
  }
  return true;
}

class Sandbox {
 public:
  Sandbox() {
    std::string pattern = (fs::temp_directory_path() / "binderly-test-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    log_ = dir_ + "/calls.log";
    setenv("BINDERLY_FIXTURE_LOG", log_.c_str(), 1);
  }
  ~Sandbox() {
    unsetenv("BINDERLY_FIXTURE_LOG");
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& dir() const { return dir_; }

  // Every call the fixtures noted, one per line.
  std::string Calls() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string Write(const std::string& name, const std::string& text, bool executable = false) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path) << text;
    if (executable) chmod(path.c_str(), 0755);
    return path;
  }

  // A server program that notes its switch, then runs `body`.
  std::string Program(const std::string& name, const std::string& body) {
    return Write(name, "#!/bin/sh\necho \"$1\" >> '" + log_ + "'\n" + body + "\n", true);
  }

  std::string Copy(const std::string& from, const std::string& name) {
    std::string path = dir_ + "/" + name;
    fs::copy_file(from, path, fs::copy_options::overwrite_existing);
    return path;
  }

 private:
  std::string dir_;
  std::string log_;
};

}  // namespace binderly_test
