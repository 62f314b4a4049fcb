#pragma once

#include <optional>
#include <string>

namespace quorvale {

// What tells the running program's code from any other build's: the build ID the linker
// wrote into the executable or library holding this function (a digest of its bytes), in
// hexadecimal. A result kept beside what the code made from its inputs is then good for
// as long as the identity and the inputs are both unchanged. Nothing where the build
// carries no such ID (a Windows build; a link told to leave it out): the caller must
// then make its result again.
std::optional<std::string> CodeIdentity();

}  // namespace quorvale
