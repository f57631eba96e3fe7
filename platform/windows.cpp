#include "platform/windows.h"

#include <atomic>

namespace decimora::platform {

namespace {
std::atomic<AboutOpener> g_opener{nullptr};
}  // namespace

void SetAboutOpener(AboutOpener opener) { g_opener.store(opener); }

bool RequestAboutWindow() {
  const AboutOpener opener = g_opener.load();
  if (opener == nullptr) return false;
  opener();
  return true;
}

}  // namespace decimora::platform
