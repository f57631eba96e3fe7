// libdecimora_register.so: the registration entry points of the Decimora
// Calc extension, for Binderly (or any other caller of DllRegisterServer).
// Registering installs the extension that lies next to this library,
// decimora.oxt, into the current user's LibreOffice; unregistering removes
// it. Both go through calc/install-extension, the same route as
// ./decimora --install-calc and --uninstall-calc, so there is one way in.
#include <dlfcn.h>
#include <errno.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

// A failure as a registration entry point reports one (the high bit set).
constexpr int kFailed = static_cast<int>(0x80004005u);

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// The directory this library was loaded from.
std::string OwnDirectory() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&OwnDirectory), &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The install script: beside the library when it was put there, else the
// one of the source tree this library was built from.
std::string InstallScript(const std::string& directory) {
  std::string beside = directory + "/install-extension";
  if (Exists(beside)) return beside;
  return DECIMORA_SOURCE_DIR "/calc/install-extension";
}

// Runs the script and waits for it; 0 when it exits with 0.
int Run(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return kFailed;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return kFailed;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : kFailed;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int DllRegisterServer() {
  std::string directory = OwnDirectory();
  std::string extension = directory + "/decimora.oxt";
  if (directory.empty() || !Exists(extension)) return kFailed;
  return Run({InstallScript(directory), "install", extension});
}

extern "C" __attribute__((visibility("default"))) int DllUnregisterServer() {
  std::string directory = OwnDirectory();
  if (directory.empty()) return kFailed;
  return Run({InstallScript(directory), "uninstall"});
}
