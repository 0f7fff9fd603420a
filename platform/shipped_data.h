// Where the data files that come with the program (help page, default phrase file, sounds)
// are on disk. An installed program keeps them in <prefix>/share/orvik beside <prefix>/bin;
// a program run from its build folder finds the source tree's resources/.
#pragma once

#include <string>

// The first existing file among <programFolder>/../share/orvik/<name>,
// <programFolder>/resources/<name> and <source tree>/resources/<name>; empty when none
// exists. `programFolder` is a host path; `name` may name a subfolder ("sounds/x.wav").
std::string ShippedDataPathFrom(const std::string& programFolder, const std::string& name);
// The same for the running executable's folder.
std::string ShippedDataPath(const std::string& name);
