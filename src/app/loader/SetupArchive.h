// Unpacks setup.1, carried inside the loading program's own file, into a
// folder: every entry under the file name part of its stored path.
#pragma once

#include "LoaderText.h"

#include <windows.h>

namespace loader {

struct TUnpacked {
    // The file name of the first entry, the setup program.
    TText SetupProgram;
};

// Unpacks the archive of bytes first..last (inclusive) of file into folder.
// False when the archive is damaged or a file cannot be written; what was
// written is then removed again. diskProblem tells the second apart.
bool UnpackSetupArchive(HANDLE file, DWORD first, DWORD last, const char* folder, TUnpacked& unpacked,
                        bool& diskProblem);

} // namespace loader
