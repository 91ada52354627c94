#include "platform/win32/Win32CommonControls.h"

#include "platform/PlatformErrors.h"
#include "platform/win32/Win32LaterApi.h"

#include <string>

namespace sw::win32 {

namespace {

template <class Fn> void ResolveExport(HMODULE module, const char* name, Fn& slot) {
    slot = LibraryExport<Fn>(module, name);
    if (!slot)
        throw EPlatformError(std::string("COMCTL32.DLL lacks ") + name);
}

CommonControlsLibrary LoadCommonControls() {
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (!module)
        throw EPlatformError("Cannot load COMCTL32.DLL (error " + std::to_string(GetLastError()) + ")");
    // InitCommonControlsEx came with Internet Explorer 3; Windows 95 has InitCommonControls.
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    auto initEx = LibraryExport<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(module, "InitCommonControlsEx");
    if (!initEx || !initEx(&init)) {
        void(WINAPI * initOld)() = nullptr;
        ResolveExport(module, "InitCommonControls", initOld);
        initOld();
    }
    CommonControlsLibrary library{};
    ResolveExport(module, "ImageList_Create", library.ImageListCreate);
    ResolveExport(module, "ImageList_Add", library.ImageListAdd);
    ResolveExport(module, "ImageList_AddMasked", library.ImageListAddMasked);
    ResolveExport(module, "ImageList_Draw", library.ImageListDraw);
    ResolveExport(module, "ImageList_Destroy", library.ImageListDestroy);
    ResolveExport(module, "ImageList_GetImageCount", library.ImageListGetImageCount);
    ResolveExport(module, "ImageList_GetIconSize", library.ImageListGetIconSize);
    return library;
}

} // namespace

const CommonControlsLibrary& CommonControls() {
    static const CommonControlsLibrary library = LoadCommonControls();
    return library;
}

} // namespace sw::win32
