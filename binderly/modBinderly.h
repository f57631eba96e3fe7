// The register/unregister routine of Binderly, kept free of any window code
// so that the command line, the window and the tests share it.
//
// A component library exports
//     extern "C" int DllRegisterServer(void);
//     extern "C" int DllUnregisterServer(void);
// returning 0 (or any non-negative code) on success and a negative code on
// failure. A server program (a path ending in "exe", any letter case) is
// started with "/REGSERVER" or "/UNREGSERVER" and judged by its exit status.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace binderly {

// How long an attempt waits for a library's entry point or a server program.
inline constexpr std::chrono::milliseconds kServerTimeout{20000};

enum class Failure {
  None,
  NoFile,          // empty path, nothing there, or a directory
  NotLoadable,     // the library would not load
  NoEntryPoint,    // the library lacks the entry point
  NoThread,        // the worker thread could not be started
  FailureCode,     // the entry point returned a negative code
  NotStarted,      // the server program could not be started
  ExitStatus,      // the server program ended with a nonzero status or a signal
  TimedOut,        // still running when the wait ended: not confirmed
};

struct Outcome {
  bool ok = false;
  Failure failure = Failure::None;
  int code = 0;  // the entry point's return code, or the program's exit status
};

struct RoutineOptions {
  std::chrono::milliseconds timeout = kServerTimeout;
  // Called over and over while an attempt waits, with the longest time the
  // call may take. The window runs its event loop here so that it stays
  // responsive; without it the routine simply sleeps.
  std::function<void(std::chrono::milliseconds)> idle;
};

// Registers (registering = true) or unregisters the component at `path`.
Outcome RegisterComponent(const std::string& path, bool registering, const RoutineOptions& options = {});

// The texts both the window and the command line show for an outcome.
std::string SuccessText(bool registering);
std::string FailureText(bool registering, const Outcome& outcome);

// Tells how many entry-point threads that outlived their wait are still
// running (their libraries stay loaded until they end).
int AbandonedWorkers();

}  // namespace binderly
