// The codes of the two message channels of the install tree: reports that
// travel upward through DoInformationEventControl, and broadcasts that travel
// downward to the dialog children (kind 9000) through HandleInstallMessage.
#pragma once

namespace sw::msg {

// Upward: sender and parameter as listed.
inline constexpr int FileInstalled = 1001;     // file, the file
inline constexpr int FileInstallStarts = 1002; // file, the file
inline constexpr int FileReplacing = 1003;     // file, the file
inline constexpr int CompressStarts = 1004;    // file, the file
inline constexpr int CompressEnds = 1005;      // file, the file
inline constexpr int CopyStarts = 1006;        // file, the file
inline constexpr int CopyEnds = 1007;          // file, the file
inline constexpr int InstallProgress = 1008;   // file, TFileStatusList
inline constexpr int CompressProgress = 1009;  // file, TFileStatusList
inline constexpr int CopyProgress = 1010;      // file, TFileStatusList
inline constexpr int NewDiskNeeded = 1011;     // file, TFileDiskList
inline constexpr int PassStarts = 1012;        // container, the container
inline constexpr int PassEnds = 1013;          // container, the container
inline constexpr int DownloadProgress = 1014;  // file-related object, TDownloadStatusParameter
inline constexpr int FileSkipped = 1015;       // file, the file
inline constexpr int FileKept = 1016;          // file, the file

// Downward broadcasts.
inline constexpr int AfterBeforeProcess = -990;    // none
inline constexpr int Included = -999;              // none
inline constexpr int AfterAfterProcess = -989;     // none
inline constexpr int ObjectPassStarts = -992;      // none
inline constexpr int PassEnded = -996;             // none, also after a failure
inline constexpr int Replacing = -997;             // the file
inline constexpr int Progress = -998;              // TFileStatusParameter
inline constexpr int DiskNeeded = -993;            // TFileDiskList
inline constexpr int DownloadProgressShown = -988; // TDownloadStatusParameter
inline constexpr int MessageText = -974;           // TMessageParameter
inline constexpr int DriverMessage = -973;         // none; sent by the install driver

} // namespace sw::msg
