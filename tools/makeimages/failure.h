// How the picture maker gives up: one line on the standard error stream, then exit status 1.
#pragma once

#include <string>

namespace makeimages {

// "makeimages: WHAT: WHY", then exit.
[[noreturn]] void failBecause(const std::string& what, const std::string& why);
// The same, with SDL's own word on what went wrong as the reason.
[[noreturn]] void fail(const std::string& what);

}  // namespace makeimages
