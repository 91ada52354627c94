// <windows.h> without the macros that would rename the platform layer's own
// methods (DeleteFile, MessageBox, ...). The backend calls the ANSI functions
// by their full names.
#pragma once

#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef GetFileVersionInfo
#undef MessageBox
#undef MoveFile
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef TextOut
#undef WriteProfileString
