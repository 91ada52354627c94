// Small helpers over the system and over path texts, shared by the engine,
// the install objects and the path specifiers.
#pragma once

#include <string>

namespace sw {

// Appends "\" to a non-empty text that does not end with one.
std::string IncludeTrailingBackslash(const std::string& path);
// Removes one final "\" from a non-empty text.
std::string ExcludeTrailingBackslash(const std::string& path);
// The folder part of a path, without a trailing backslash.
std::string ExtractFileDir(const std::string& path);
// The drive of a path: "C:" of "C:\Dir", "\\server\share" of a UNC path,
// empty when it has none.
std::string ExtractFileDrive(const std::string& path);
// The path with its extension (from the last "." of the file name) replaced.
std::string ChangeFileExt(const std::string& path, const std::string& extension);
// The extension of the file name, from its last "." on; empty when it has none.
std::string ExtractFileExt(const std::string& path);
// The part after the last "\" or ":".
std::string ExtractFileName(const std::string& path);

// The Windows and system directories; EAPIRoutines when the system has none.
std::string WindowsDirectory();
std::string SystemDirectory();

// The Windows version code.
enum TWindowsVersionCode {
    wvWin32s = 0,
    wvWindows95 = 1, // Windows 95, 98 and Me
    wvWindowsNT = 2, // Windows NT other than 3.5x
    wvWindowsNT35 = 3,
    wvOther = 4,
};
// Raises EAPIRoutines when the version query fails.
int WindowsVersion();

// A unique file name in the temporary folder, prefix "bat". Windows creates
// the empty file; unless `keep`, it is deleted again and only the name
// returned. EAPIRoutines when no name can be had.
std::string MakeTempFileName(bool keep);

// The 8.3 form of an existing path, as Windows gives it; EAPIRoutines when
// the system has none for it.
std::string ShortPathName(const std::string& path);

} // namespace sw
