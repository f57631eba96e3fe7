// Who runs the library and where its code lies: the stand-ins for the user
// designation of the welcome text and for the library's own directory.
#pragma once

#include <string>

namespace decimora::platform {

// The user's login name: $LOGNAME (the login name POSIX sets for a
// session), else the name of the effective user in the password database,
// else "user".
std::string UserLoginName();

// The absolute directory of the file that holds the library's code (the
// shared object, or the program a static library is linked into), without a
// trailing separator. Empty when the system cannot tell.
std::string LibraryDirectory();

}  // namespace decimora::platform
