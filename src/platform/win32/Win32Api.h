// <windows.h> without the macros that would rename the platform layer's own
// methods (DeleteFile, MessageBox, ...). The backend calls the ANSI functions
// by their full names, and the wide ones for texts of a code page other than
// the system's (Win32CodePages.h).
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
