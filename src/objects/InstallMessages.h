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
inline constexpr int LinkGroupStarts = -991;       // none; a shortcut folder's pass starts
inline constexpr int PassEnded = -996;             // none, also after a failure
inline constexpr int Replacing = -997;             // the file
inline constexpr int Progress = -998;              // TFileStatusParameter
inline constexpr int DiskNeeded = -993;            // TFileDiskList
inline constexpr int DownloadProgressShown = -988; // TDownloadStatusParameter
inline constexpr int MessageText = -974;           // TMessageParameter
inline constexpr int DriverMessage = -973;         // none; sent by the install driver

// The install driver's stages, downward, in the order of a full run.
inline constexpr int BeforeReadArchiveInfo = -984; // none
inline constexpr int StatusTextDone = DriverMessage;
inline constexpr int AfterReadArchiveInfo = -983; // none
inline constexpr int AfterInitialized = -986;     // none
// Sent right after AfterInitialized, in this order.
inline constexpr int StartStages[] = {-976, -975, -982, -981, -977};
inline constexpr int BeforeInstall = -980;         // none: the wizard pages
inline constexpr int RebootStage = -987;           // none: the restart question
inline constexpr int GoodInstall = -995;           // none
inline constexpr int AfterGoodInstall = -979;      // none: the good-install pages
inline constexpr int BadInstall = -994;            // none
inline constexpr int AfterBadInstall = -978;       // none: the bad-install pages

} // namespace sw::msg
