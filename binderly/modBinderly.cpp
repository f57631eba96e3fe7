#include "binderly/modBinderly.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace binderly {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The slice of one idle call: short, so that a finished attempt is noticed
// at once, long enough not to spin.
constexpr milliseconds kSlice{20};

std::atomic<int> abandoned_workers{0};

bool IsFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool EndsInExe(const std::string& path) {
  if (path.size() < 3) return false;
  std::string tail = path.substr(path.size() - 3);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == "EXE";
}

// dlopen and exec search the library path and PATH for a name without a
// slash; the file that was checked is the one in the current directory.
std::string Anchored(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

// Waits until done() holds or the deadline passes, running the idle hook
// (or sleeping) in slices. Returns done() at the end.
template <class Done>
bool WaitUntil(Clock::time_point deadline, const RoutineOptions& options, Done done) {
  while (!done()) {
    auto now = Clock::now();
    if (now >= deadline) return done();
    auto left = std::chrono::duration_cast<milliseconds>(deadline - now) + milliseconds{1};
    milliseconds slice = std::min(kSlice, left);
    if (options.idle) {
      options.idle(slice);
    } else {
      std::this_thread::sleep_for(slice);
    }
  }
  return true;
}

// What the waiting side and the worker thread share. The worker owns the
// library handle once the waiter has given up: a library is never unloaded
// while its entry point still runs.
struct Attempt {
  std::mutex mutex;
  std::condition_variable finished_cv;
  bool finished = false;
  bool abandoned = false;
  int code = 0;
  void* library = nullptr;
  int (*entry)() = nullptr;
};

void RunEntryPoint(std::shared_ptr<Attempt> attempt) {
  int code = attempt->entry();
  bool close_here = false;
  {
    std::lock_guard<std::mutex> lock(attempt->mutex);
    attempt->code = code;
    attempt->finished = true;
    close_here = attempt->abandoned;
  }
  attempt->finished_cv.notify_all();
  if (close_here) {
    dlclose(attempt->library);
    abandoned_workers.fetch_sub(1);
  }
}

Outcome CallLibrary(const std::string& path, bool registering, const RoutineOptions& options) {
  void* library = dlopen(Anchored(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return {false, Failure::NotLoadable, 0};

  // The usual spelling first; some servers export the capital-R spelling.
  const char* names[2] = {"DllRegisterServer", nullptr};
  if (!registering) {
    names[0] = "DllUnregisterServer";
    names[1] = "DllUnRegisterServer";
  }
  void* symbol = nullptr;
  for (const char* name : names) {
    if (name && !symbol) symbol = dlsym(library, name);
  }
  if (!symbol) {
    dlclose(library);
    return {false, Failure::NoEntryPoint, 0};
  }

  auto attempt = std::make_shared<Attempt>();
  attempt->library = library;
  attempt->entry = reinterpret_cast<int (*)()>(symbol);
  std::thread worker;
  try {
    worker = std::thread(RunEntryPoint, attempt);
  } catch (const std::system_error&) {
    dlclose(library);
    return {false, Failure::NoThread, 0};
  }

  auto deadline = Clock::now() + options.timeout;
  auto is_finished = [&] {
    std::unique_lock<std::mutex> lock(attempt->mutex);
    if (!options.idle) {
      // Without an event loop to run, sleep on the worker's signal instead.
      auto left = deadline - Clock::now();
      attempt->finished_cv.wait_for(lock, std::min<Clock::duration>(left, kSlice),
                                    [&] { return attempt->finished; });
    }
    return attempt->finished;
  };
  bool finished = WaitUntil(deadline, options, is_finished);
  if (!finished) {
    std::lock_guard<std::mutex> lock(attempt->mutex);
    finished = attempt->finished;  // it may have ended just now
    if (!finished) {
      attempt->abandoned = true;
      abandoned_workers.fetch_add(1);
    }
  }
  if (!finished) {
    worker.detach();
    return {false, Failure::TimedOut, 0};
  }
  worker.join();
  dlclose(library);
  if (attempt->code < 0) return {false, Failure::FailureCode, attempt->code};
  return {true, Failure::None, attempt->code};
}

Outcome RunProgram(const std::string& path, bool registering, const RoutineOptions& options) {
  std::string program = Anchored(path);
  std::string switch_text = registering ? "/REGSERVER" : "/UNREGSERVER";
  std::vector<char*> argv{program.data(), switch_text.data(), nullptr};

  // A hidden process: no terminal input; its output goes where ours goes.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return {false, Failure::NotStarted, 0};

  int status = 0;
  bool ended = false;
  auto has_ended = [&] {
    if (!ended) ended = waitpid(pid, &status, WNOHANG) == pid;
    return ended;
  };
  if (!WaitUntil(Clock::now() + options.timeout, options, has_ended)) {
    // It may still finish its work; reap it then, so it leaves no zombie.
    std::thread([pid] {
      int ignored = 0;
      waitpid(pid, &ignored, 0);
    }).detach();
    return {false, Failure::TimedOut, 0};
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {true, Failure::None, 0};
  return {false, Failure::ExitStatus, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

}  // namespace

Outcome RegisterComponent(const std::string& path, bool registering, const RoutineOptions& options) {
  try {
    if (!IsFile(path)) return {false, Failure::NoFile, 0};
    if (EndsInExe(path)) return RunProgram(path, registering, options);
    return CallLibrary(path, registering, options);
  } catch (const std::exception&) {
    // A failure inside the routine is a failed attempt, never a crash.
    return {false, Failure::NotStarted, 0};
  }
}

std::string SuccessText(bool registering) {
  if (registering) {
    return "Successfully registered.\n\n"
           "If the target file still does not appear to be registered, make sure Binderly runs as the "
           "user it should be registered for: registering for all users needs root (for example "
           "\"sudo binderly\").";
  }
  return "Successfully unregistered.\n\n"
         "If the target file still appears to be registered, make sure Binderly runs as the user it "
         "was registered for: unregistering for all users needs root (for example \"sudo binderly\").";
}

std::string FailureText(bool registering, const Outcome& outcome) {
  std::string text = registering ? "Sorry, unable to register this file." : "Sorry, unable to unregister this file.";
  if (outcome.failure == Failure::TimedOut) {
    text += "\n\nIt did not finish within " + std::to_string(kServerTimeout.count() / 1000) +
            " seconds, so the " + (registering ? "registration" : "unregistration") + " is not confirmed.";
  }
  return text;
}

int AbandonedWorkers() { return abandoned_workers.load(); }

}  // namespace binderly
