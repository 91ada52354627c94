// The exit code the setup program ends with, so that a script that runs it
// can tell a failed install from a good one.
#pragma once

namespace sw {

enum class TSetupExit : int {
    Good = 0,       // a good end (also one that waits for the restart), or a tool mode that succeeded
    NotStarted = 1, // the project could not be read
    Failed = 2,     // an error ended the install or the tool mode
    UserAbort = 3,  // the user cancelled the install
};

struct TSetupExitState {
    TSetupExit Code = TSetupExit::Good;
};

TSetupExit SetupExitCode();
void SetSetupExitCode(TSetupExit code);

} // namespace sw
