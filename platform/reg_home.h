// The profile folder that holds registry.reg: $ORVIK_HOME, else $XDG_CONFIG_HOME/orvik, else
// $HOME/.config/orvik, created (mode 0700) when missing. Read from the environment at every
// call, so a test can move the profile. Empty when no folder can be named.
#pragma once

#include <string>

namespace reg {

std::string RegistryFolder();

}  // namespace reg
