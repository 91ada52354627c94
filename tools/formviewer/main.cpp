// formviewer: shows a form stream under Win32 as the setup program would, for
// authors and translators: a dialog form or a project's main form, in text
// form or binary.
//
//   formviewer <form file> [--language <name>] [--tables <folder>] [--screenshot <file.bmp>]
//
// --language translates the form from English into that language ("French",
// "Japanese", ...); a form without a translator of its own takes the string
// tables from --tables, by default the "lang" folder beside the viewer.
// With --screenshot the form is shown, its client area written as a BMP file,
// and the viewer exits; otherwise it runs until the form is closed. Errors go
// to standard error and the exit code is 1.
#include "FormFile.h"
#include "ViewerLanguage.h"
#include "app/SetupProgram.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/win32/Win32Platform.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct Options {
    std::string input;
    std::string language;
    std::string tables;
    std::string screenshot;
};

constexpr const char* kUsage =
    "usage: formviewer <form file> [--language <name>] [--tables <folder>] [--screenshot <file.bmp>]";

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--language" && i + 1 < argc)
            o.language = argv[++i];
        else if (arg == "--tables" && i + 1 < argc)
            o.tables = argv[++i];
        else if (arg == "--screenshot" && i + 1 < argc)
            o.screenshot = argv[++i];
        else if (o.input.empty() && arg.rfind("--", 0) != 0)
            o.input = arg;
        else
            throw sw::Exception(kUsage);
    }
    if (o.input.empty())
        throw sw::Exception(kUsage);
    return o;
}

// C stdio, so that the viewer imports only what Windows 95 and NT 4.0 export.
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string ReadFile(const std::string& name) {
    File in(std::fopen(name.c_str(), "rb"), &std::fclose);
    if (!in)
        throw sw::Exception(name + ": cannot open");
    std::string data;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
        data.append(buffer, got);
    if (std::ferror(in.get()))
        throw sw::Exception(name + ": cannot read");
    return data;
}

void WriteFile(const std::string& name, const std::string& data) {
    File out(std::fopen(name.c_str(), "wb"), &std::fclose);
    if (!out || std::fwrite(data.data(), 1, data.size(), out.get()) != data.size() || std::fflush(out.get()) != 0)
        throw sw::Exception(name + ": cannot write");
}

std::string BesideTheViewer(const std::string& name) {
    std::string module = sw::GetPlatform().System->ModulePath();
    return module.substr(0, module.find_last_of('\\') + 1) + name;
}

int View(const Options& options) {
    sw::RegisterAllClasses();
    sw::TCustomForm* form = sw::viewer::ReadFormForViewing(ReadFile(options.input), options.input);
    sw::Application().Adopt(form);
    if (!options.language.empty())
        sw::viewer::ApplyLanguage(*form, options.language,
                                  options.tables.empty() ? BesideTheViewer("lang") : options.tables);
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
        std::fprintf(stderr, "formviewer: %s\n", e.what());
        return 1;
    }
}
