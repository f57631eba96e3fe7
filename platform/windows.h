// The host's windows, as far as a worksheet call can ask for one: the About
// window of dcmABOUT. A host with windows (the Calc add-in) installs an
// opener; without one (the command line) the request does nothing.
#pragma once

namespace decimora::platform {

using AboutOpener = void (*)();

// Installs (or, with nullptr, removes) the opener. Process-wide.
void SetAboutOpener(AboutOpener opener);

// Asks the host to show the About window; false when no host can.
bool RequestAboutWindow();

}  // namespace decimora::platform
