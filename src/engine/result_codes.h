// Result codes of the install engine: 0 for success, -N for failure, where N
// indexes the table of German messages. Platform-free.
#pragma once

enum ResultCode : int {
  rcOk = 0,
  rcUnknownError = -1,
  rcInitError = -2,
  rcException = -3,
  rcMemoryError = -4,
  rcCreateFolder = -5,
  rcOpenFile = -6,
  rcNoInstallData = -7,
  rcReadSetupFile = -8,
  rcWriteUninstaller = -9,
  rcReadDll = -10,
  rcWriteDll = -11,
  rcReadArchiveInfo = -12,
  rcReadArchive = -13,
  rcWriteArchive = -14,
  rcProgramStillRunning = -15,
  rcNeedAdmin = -16,
  rcExtractArchive = -17,
  rcNoArchives = -18,
  rcOpenArchive = -19,
  rcFileNotFound = -20,
  rcFolderMissing = -21,
  rcNeedBaseInstall = -22,
  rcDiskSpace = -23,
  rcComRegistration = -24,
  rcSharedFileEntry = -25,
  rcTempFile = -26,
  rcNoSettings = -27,
  rcNeedUninstall = -28,
  rcAlreadyUninstalled = -29,
  rcInstallFolderMissing = -30,
  rcNoUninstallData = -31,
  rcUntrustedRecord = -32,  // a record this installer did not write, or that was changed since
  rcUnreachableFolder = -33,  // a folder with letters the code page lacks, and no short name
};

constexpr int kResultMessageCount = 34;

// The message of a result code (0 or negative). A code outside the table
// answers with the message of the unknown error.
const char* ResultMessage(int resultCode);
