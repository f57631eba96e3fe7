// Small component libraries for the Binderly tests. Which entry points one
// exports, and what they do, is chosen when it is built (FIXTURE_<KIND>).
// Each call is noted in the file named by BINDERLY_FIXTURE_LOG, so a test
// can tell whether and how the library was called.
#include <errno.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

namespace {

[[maybe_unused]] void Note(const char* what) {
  const char* log = getenv("BINDERLY_FIXTURE_LOG");
  if (!log) return;
  if (FILE* file = fopen(log, "a")) {
    fprintf(file, "%s\n", what);
    fclose(file);
  }
}

}  // namespace

extern "C" {

#if defined(FIXTURE_QUICK)
int DllRegisterServer() { Note("register"); return 0; }
int DllUnregisterServer() { Note("unregister"); return 0; }

#elif defined(FIXTURE_FAILING)
// A failure code as a server reports one (the high bit set).
int DllRegisterServer() { Note("register"); return static_cast<int>(0x80004005u); }
int DllUnregisterServer() { Note("unregister"); return -1; }

#elif defined(FIXTURE_CAPITAL_R)
int DllRegisterServer() { Note("register"); return 0; }
int DllUnRegisterServer() { Note("unregister capital R"); return 0; }

#elif defined(FIXTURE_NONE)
int SomethingElse() { return 0; }

#elif defined(FIXTURE_BLOCKING)
// Blocks for 30 s, or until the test calls FixtureRelease.
pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t released_cv = PTHREAD_COND_INITIALIZER;
int released = 0;

int DllRegisterServer() {
  Note("register");
  struct timespec deadline;
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += 30;
  pthread_mutex_lock(&mutex);
  while (!released && pthread_cond_timedwait(&released_cv, &mutex, &deadline) != ETIMEDOUT) {
  }
  pthread_mutex_unlock(&mutex);
  Note("register done");
  return 0;
}
int DllUnregisterServer() { return DllRegisterServer(); }

void FixtureRelease() {
  pthread_mutex_lock(&mutex);
  released = 1;
  pthread_cond_broadcast(&released_cv);
  pthread_mutex_unlock(&mutex);
}
#endif

}  // extern "C"
