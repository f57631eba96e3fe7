// The Binderly register/unregister routine against small fixture libraries
// and server programs, and the binderly command line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>

#include "binderly/modBinderly.h"
#include "binderly/sandbox.h"

using namespace std::chrono_literals;
using binderly::Failure;
using binderly::Outcome;
using binderly::RegisterComponent;
using binderly_test::Eventually;
using binderly_test::Fixture;
using binderly_test::IsLoaded;
using binderly_test::Sandbox;

namespace {

binderly::RoutineOptions Quick(std::chrono::milliseconds timeout = 300ms) {
  binderly::RoutineOptions options;
  options.timeout = timeout;
  return options;
}

}  // namespace

TEST(BinderlyRoutine, WaitsTwentySecondsUnlessTold) {
  EXPECT_EQ(binderly::kServerTimeout, 20000ms);
  EXPECT_EQ(binderly::RoutineOptions{}.timeout, binderly::kServerTimeout);
}

TEST(BinderlyRoutine, PathsThatNameNoFileFail) {
  Sandbox box;
  for (const std::string& path : {std::string(), std::string("Browse to file..."), box.dir() + "/missing.so",
                                  box.dir(), box.dir() + "/missing.exe"}) {
    for (bool registering : {true, false}) {
      Outcome outcome = RegisterComponent(path, registering);
      EXPECT_FALSE(outcome.ok) << path;
      EXPECT_EQ(outcome.failure, Failure::NoFile) << path;
    }
  }
}

TEST(BinderlyRoutine, RegistersAndUnregistersAndUnloadsTheLibrary) {
  Sandbox box;
  std::string library = Fixture("quick");
  Outcome registered = RegisterComponent(library, true);
  EXPECT_TRUE(registered.ok);
  EXPECT_EQ(registered.code, 0);
  Outcome unregistered = RegisterComponent(library, false);
  EXPECT_TRUE(unregistered.ok);
  EXPECT_EQ(box.Calls(), "register\nunregister\n");
  EXPECT_FALSE(IsLoaded(library));
}

TEST(BinderlyRoutine, ANameWithoutSlashIsTheFileInTheCurrentDirectory) {
  Sandbox box;
  box.Copy(Fixture("quick"), "libnearby.so");
  std::string before = std::filesystem::current_path();
  std::filesystem::current_path(box.dir());
  Outcome outcome = RegisterComponent("libnearby.so", true);
  std::filesystem::current_path(before);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(box.Calls(), "register\n");
}

TEST(BinderlyRoutine, AFailureCodeIsAFailure) {
  Sandbox box;
  Outcome registered = RegisterComponent(Fixture("failing"), true);
  EXPECT_FALSE(registered.ok);
  EXPECT_EQ(registered.failure, Failure::FailureCode);
  EXPECT_EQ(static_cast<unsigned>(registered.code), 0x80004005u);
  Outcome unregistered = RegisterComponent(Fixture("failing"), false);
  EXPECT_FALSE(unregistered.ok);
  EXPECT_EQ(unregistered.code, -1);
  EXPECT_EQ(box.Calls(), "register\nunregister\n");
  EXPECT_EQ(binderly::FailureText(true, registered), "Sorry, unable to register this file.");
  EXPECT_EQ(binderly::FailureText(false, unregistered), "Sorry, unable to unregister this file.");
}

TEST(BinderlyRoutine, UnregisterFallsBackToTheCapitalRSpelling) {
  Sandbox box;
  EXPECT_TRUE(RegisterComponent(Fixture("capital_r"), false).ok);
  EXPECT_EQ(box.Calls(), "unregister capital R\n");
  EXPECT_FALSE(IsLoaded(Fixture("capital_r")));
}

TEST(BinderlyRoutine, MissingEntryPointsAndNonLibrariesFail) {
  Sandbox box;
  for (bool registering : {true, false}) {
    Outcome outcome = RegisterComponent(Fixture("none"), registering);
    EXPECT_EQ(outcome.failure, Failure::NoEntryPoint);
  }
  EXPECT_FALSE(IsLoaded(Fixture("none")));
  std::string text = box.Write("notes.so", "not a library at all\n");
  EXPECT_EQ(RegisterComponent(text, true).failure, Failure::NotLoadable);
  EXPECT_EQ(RegisterComponent(text, false).failure, Failure::NotLoadable);
}

TEST(BinderlyRoutine, ABlockedServerTimesOutAndStaysLoadedUntilItReturns) {
  Sandbox box;
  std::string library = Fixture("blocking");
  auto start = std::chrono::steady_clock::now();
  int idle_calls = 0;
  binderly::RoutineOptions options = Quick();
  options.idle = [&](std::chrono::milliseconds slice) {
    ++idle_calls;
    std::this_thread::sleep_for(slice);
  };
  Outcome outcome = RegisterComponent(library, true, options);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failure, Failure::TimedOut);
  EXPECT_GE(waited, 300ms);
  EXPECT_LT(waited, 5s);
  EXPECT_GT(idle_calls, 2);  // the caller's loop kept running during the wait
  EXPECT_NE(binderly::FailureText(true, outcome).find("not confirmed"), std::string::npos);

  // The entry point still runs, so its library must still be there.
  ASSERT_TRUE(IsLoaded(library));
  EXPECT_EQ(binderly::AbandonedWorkers(), 1);
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  auto release = reinterpret_cast<void (*)()>(dlsym(handle, "FixtureRelease"));
  ASSERT_NE(release, nullptr);
  release();
  dlclose(handle);
  // Once it returns, the worker unloads it.
  EXPECT_TRUE(Eventually([&] { return binderly::AbandonedWorkers() == 0 && !IsLoaded(library); }));
  EXPECT_EQ(box.Calls(), "register\nregister done\n");
}

TEST(BinderlyRoutine, ServerProgramsAreJudgedByTheirExitStatus) {
  Sandbox box;
  std::string ok = box.Program("server.exe", "exit 0");
  std::string three = box.Program("SERVER3.EXE", "exit 3");
  Outcome registered = RegisterComponent(ok, true, Quick(10s));
  EXPECT_TRUE(registered.ok);
  EXPECT_TRUE(RegisterComponent(ok, false, Quick(10s)).ok);
  Outcome failed = RegisterComponent(three, true, Quick(10s));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.failure, Failure::ExitStatus);
  EXPECT_EQ(failed.code, 3);
  EXPECT_EQ(box.Calls(), "/REGSERVER\n/UNREGSERVER\n/REGSERVER\n");
}

TEST(BinderlyRoutine, AServerProgramStillRunningIsNotConfirmed) {
  Sandbox box;
  std::string pid_file = box.dir() + "/pid";
  std::string sleeper = box.Program("sleeper.Exe", "echo $$ > '" + pid_file + "'\nexec sleep 30");
  Outcome outcome = RegisterComponent(sleeper, true, Quick());
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failure, Failure::TimedOut);
  std::ifstream in(pid_file);
  pid_t pid = 0;
  ASSERT_TRUE(in >> pid);
  EXPECT_EQ(kill(pid, SIGTERM), 0);  // it was left running, not killed
}

TEST(BinderlyRoutine, APathEndingInExeIsNeverLoadedAsALibrary) {
  Sandbox box;
  // A library under a name ending in "exe" is started as a program, which
  // fails, and its entry point is never called.
  std::string disguised = box.Copy(Fixture("quick"), "library.eXe");
  chmod(disguised.c_str(), 0755);
  Outcome outcome = RegisterComponent(disguised, true, Quick(10s));
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(box.Calls(), "");
  EXPECT_FALSE(IsLoaded(disguised));
  // Not executable at all: not started.
  std::string plain = box.Write("plain.exe", "text");
  EXPECT_EQ(RegisterComponent(plain, true, Quick(10s)).failure, Failure::NotStarted);
}

#ifdef BINDERLY_BIN
namespace {

// Runs the binderly program; returns its exit status and its stderr.
std::pair<int, std::string> RunBinderly(const std::string& arguments) {
  std::string command = std::string(BINDERLY_BIN) + " " + arguments + " 2>&1 >/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace

TEST(BinderlyCommandLine, ReportsOnStderrAndByExitStatus) {
  Sandbox box;
  auto [ok, ok_text] = RunBinderly("--register " + Fixture("quick"));
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(ok_text, binderly::SuccessText(true) + "\n");
  auto [unreg, unreg_text] = RunBinderly("--unregister " + Fixture("capital_r"));
  EXPECT_EQ(unreg, 0);
  EXPECT_EQ(unreg_text, binderly::SuccessText(false) + "\n");
  auto [failed, failed_text] = RunBinderly("--register " + Fixture("failing"));
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(failed_text, "Sorry, unable to register this file.\n");
  auto [missing, missing_text] = RunBinderly("--unregister ''");
  EXPECT_EQ(missing, 1);
  EXPECT_EQ(missing_text, "Sorry, unable to unregister this file.\n");
  EXPECT_EQ(RunBinderly("--register").first, 2);
  EXPECT_EQ(box.Calls(), "register\nunregister capital R\nregister\n");
}
#endif

// The Decimora component's own entry points, with a stand-in for the install
// script beside a copy of the library.
TEST(DecimoraRegister, InstallsTheExtensionBesideItThroughTheInstallScript) {
  Sandbox box;
  std::string library = box.Copy(DECIMORA_REGISTER_LIB, "libdecimora_register.so");
  auto script = [&](int status) {
    box.Write("install-extension", "#!/bin/sh\necho \"$*\" >> '" + box.dir() + "/calls.log'\nexit " +
                                       std::to_string(status) + "\n", true);
  };
  script(0);
  // Without the extension beside it there is nothing to install.
  Outcome nothing = RegisterComponent(library, true);
  EXPECT_EQ(nothing.failure, Failure::FailureCode);
  EXPECT_EQ(box.Calls(), "");

  std::string extension = box.Write("decimora.oxt", "stand-in");
  EXPECT_TRUE(RegisterComponent(library, true).ok);
  EXPECT_TRUE(RegisterComponent(library, false).ok);
  EXPECT_EQ(box.Calls(), "install " + extension + "\nuninstall\n");
  script(1);
  EXPECT_EQ(RegisterComponent(library, true).failure, Failure::FailureCode);
  EXPECT_EQ(RegisterComponent(library, false).failure, Failure::FailureCode);
}
