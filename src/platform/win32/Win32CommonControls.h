// COMCTL32.DLL, loaded when the first control or image list needs it rather
// than when the program starts: a setup that shows no window (a silent
// install) does not wait for the library to load and start.
#pragma once

#include "platform/win32/Win32Api.h"

#include <commctrl.h>

namespace sw::win32 {

struct CommonControlsLibrary {
    decltype(&::ImageList_Create) ImageListCreate;
    decltype(&::ImageList_Add) ImageListAdd;
    decltype(&::ImageList_AddMasked) ImageListAddMasked;
    decltype(&::ImageList_Draw) ImageListDraw;
    decltype(&::ImageList_Destroy) ImageListDestroy;
    decltype(&::ImageList_GetImageCount) ImageListGetImageCount;
    decltype(&::ImageList_GetIconSize) ImageListGetIconSize;
};

// Loads the library and registers its window classes, once; an
// EPlatformError when it or one of the functions is missing.
const CommonControlsLibrary& CommonControls();

} // namespace sw::win32
