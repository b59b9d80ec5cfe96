#ifndef DATASET_DRAVIK_LAUNCHER_H
#define DATASET_DRAVIK_LAUNCHER_H

#include <string>

// Starting the dcm converter, installed under QUORVEL_HOME, on a file of the
// build workspace named by QUORVEL_WORKSPACE.

// Exit code given for a converter that could not be run because its
// installation or the workspace is not named in the environment.
inline constexpr int kDravikNotConfigured = -1;

// Runs the converter on the locator's file in the current directory and waits
// for it; its exit code. Failures to start or wait for it pass out as
// Boost.Process errors.
int RunDravik(std::string locator);

// The converter's argument text: the dcm file (joined to the workspace), the
// encoding, the workspace's symbol list, its label mapping and, when
// configured, the A2L file; each preceded by a blank.
std::string BuildDravikArguments(std::string locator);

#endif
