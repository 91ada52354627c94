// formviewer: shows a form stream under Win32 as the setup program would, for
// authors and translators: a dialog form or a project's main form, in text
// form or binary.
//
//   formviewer <form file> [--language <name>] [--screenshot <file.bmp>]
//
// With --screenshot the form is shown, its client area written as a BMP file,
// and the viewer exits; otherwise it runs until the form is closed. Errors go
// to standard error and the exit code is 1.
#include "FormFile.h"
#include "ViewerLanguage.h"
#include "app/SetupProgram.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

struct Options {
    std::string input;
    std::string language;
    std::string screenshot;
};

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--language" || arg == "--screenshot") && i + 1 < argc)
            (arg == "--language" ? o.language : o.screenshot) = argv[++i];
        else if (o.input.empty() && arg.rfind("--", 0) != 0)
            o.input = arg;
        else
            throw sw::Exception("usage: formviewer <form file> [--language <name>] [--screenshot <file.bmp>]");
    }
    if (o.input.empty())
        throw sw::Exception("usage: formviewer <form file> [--language <name>] [--screenshot <file.bmp>]");
    return o;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        throw sw::Exception(name + ": cannot open");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& name, const std::string& data) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out)
        throw sw::Exception(name + ": cannot write");
}

int View(const Options& options) {
    sw::RegisterAllClasses();
    sw::TCustomForm* form = sw::viewer::ReadFormForViewing(ReadFile(options.input), options.input);
    sw::Application().Adopt(form);
    if (!options.language.empty())
        sw::viewer::ApplyLanguage(*form, options.language);
    if (options.screenshot.empty()) {
        sw::Application().Run();
        return 0;
    }
    form->Show();
    // Let the windows paint before the picture is taken.
    for (int i = 0; i < 10; ++i)
        sw::Application().ProcessMessages();
    WriteFile(options.screenshot, form->Window()->Capture());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    sw::win32::Win32Platform platform;
    sw::ScopedPlatform installed(platform.Get());
    sw::TProgramState state;
    try {
        return View(Parse(argc, argv));
    } catch (const std::exception& e) {
        std::cerr << "formviewer: " << e.what() << "\n";
        return 1;
    }
}
