// Starting other programs without a shell.
//
// A command line is split into words as a POSIX shell splits them (blanks, single and double
// quotes, backslash escapes; no expansion of any kind) and the first word is looked up on PATH.
// Detached processes are started through a short-lived intermediate child, so they become
// children of init and no zombie stays behind in the calling program, and no signal handler
// of the calling program is touched.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The words of `command_line`; nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view command_line);

// The path of `program` as the PATH search of posix_spawnp would find it (a name with a "/"
// is taken as it is); nothing when there is no such executable file.
std::optional<std::string> FindProgram(std::string_view program);

// Starts argv[0] with its arguments in a session of its own, with default signal handling and
// at `niceness` (added to the caller's), and does not wait for it. Its process id, or nothing
// when it could not be started (empty argv, program not found or not executable).
std::optional<pid_t> SpawnDetached(const std::vector<std::string>& argv, int niceness = 0);

// Runs argv[0] with its arguments, waits for it and gives back what it wrote to its standard
// output; nothing when it could not be started or did not exit with status 0.
std::optional<std::string> RunAndCapture(const std::vector<std::string>& argv);

}  // namespace platform
