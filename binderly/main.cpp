// binderly: registers or unregisters one component, in a window or, with
// --register PATH / --unregister PATH, from the command line.
#include <FL/Fl.H>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "binderly/frmBinderly.h"
#include "binderly/modBinderly.h"

namespace {

constexpr const char* kUsage =
    "usage: binderly                    open the window\n"
    "       binderly --register PATH    register PATH and exit (0 on success, 1 on failure)\n"
    "       binderly --unregister PATH  unregister PATH and exit\n";

// Ends the program. While an entry point that outlived its wait still runs
// inside its library, the library's finalizers must not run under it, so the
// process leaves without the usual clean-up.
int Finish(int status) {
  if (binderly::AbandonedWorkers() > 0) {
    std::fflush(nullptr);
    _exit(status);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && (std::strcmp(argv[1], "--register") == 0 || std::strcmp(argv[1], "--unregister") == 0)) {
    bool registering = std::strcmp(argv[1], "--register") == 0;
    binderly::Outcome outcome = binderly::RegisterComponent(argv[2], registering);
    std::string text = outcome.ok ? binderly::SuccessText(registering) : binderly::FailureText(registering, outcome);
    std::fprintf(stderr, "%s\n", text.c_str());
    return Finish(outcome.ok ? 0 : 1);
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Fl::scheme("gtk+");
  binderly::frmBinderly form;
  form.Show();
  return Finish(Fl::run());
}
