// buildsetup: builds a setup program's distribution on Linux, as the setup
// program does under Windows when started with -b.
//
//   buildsetup [--tool-dir FOLDER] SETUP.EXE
//
// SETUP.EXE is the author's Win32 setup program. Its own code runs the build:
// the project, the theme bitmap and the flags are read from its resources,
// it goes into setup.1 itself, and BUILD.INF beside it names the build folder
// on its first line. FOLDER is the installer tool folder (the loading program
// and the marker file), which the build finds as its library search path.
// The project's files and a relative build folder start from the working
// folder; drive letters C: and Z: both name "/". An error the build shows in
// a message box under Windows is printed instead, and the exit status is 1.
#include "BuildPlatform.h"

#include "app/SetupProgram.h"
#include "project/ProgramState.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Usage() {
    std::fputs("usage: buildsetup [--tool-dir FOLDER] SETUP.EXE\n", stderr);
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    std::string toolDirectory;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--tool-dir" && i + 1 < argc)
            toolDirectory = argv[++i];
        else if (a.rfind("--", 0) == 0)
            Usage();
        else
            arguments.push_back(a);
    }
    if (arguments.size() != 1)
        Usage();
    TBuildPlatform platform;
    try {
        std::ifstream program(arguments[0], std::ios::binary);
        if (!program)
            throw std::runtime_error("Cannot read the setup program " + arguments[0]);
        platform.SetProgram(platform.WindowsPath(arguments[0]), "-b",
                            std::string(std::istreambuf_iterator<char>(program), std::istreambuf_iterator<char>()));
        if (!toolDirectory.empty())
            platform.SetToolDirectory(platform.WindowsPath(toolDirectory));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "buildsetup: %s\n", e.what());
        return 1;
    }
    int code = 0;
    {
        sw::ScopedPlatform installed(platform.Get());
        sw::TProgramState state;
        code = sw::RunSetupProgram();
    }
    for (const std::string& text : platform.MessageBoxTexts()) {
        std::fprintf(stderr, "buildsetup: %s\n", text.c_str());
        code = 1;
    }
    return code;
}
