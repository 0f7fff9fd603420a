// Starting a helper program (a browser, a sound player) without a shell: its own process
// group, so Ctrl-C on this program does not end it, the default signal handling, and none of
// this program's descriptors beyond the standard three.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts words[0] (looked up on PATH unless it holds a "/") with the rest as its arguments.
// With `silent`, its standard input and output are /dev/null (a sound player's chatter is not
// this program's output). 0 and the child's id in *pid, or the errno value.
int SpawnProgram(const std::vector<std::string>& words, bool silent, pid_t* pid);
