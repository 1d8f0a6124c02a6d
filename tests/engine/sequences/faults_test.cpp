// Faults in the middle of an installation, with the real installer: a disk
// that fills up, an installer killed while it copies, a read-only file in
// the way and a file missing from its archive. Nothing is left half done.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/driver_test.h"
#include "support/installer_window.h"
#include "support/registry_probe.h"
#include "sys/path_text.h"

#include <functional>

namespace {

// Bytes that do not compress.
std::string Noise(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
  return bytes;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  if (FolderExists(folder)) FindFiles(files, folder, "*.*", true, true);
  return files;
}

class Faults : public EndToEnd {
 protected:
  std::string viewer;    // the viewer component's folder
  std::string copies;    // its [copy] lines
  std::string sections;  // its other sections

  void SetUp() override {
    EndToEnd::SetUp();
    viewer = folder + "Komponenten\\viewer\\";
    ForceFolders(viewer);
  }
  void AddFile(const std::string& name, const std::string& content) {
    WriteTextFile(viewer + name, content);
    copies += "%thisDir%" + name + "=%installdir%viewer\\" + name + "\r\n";
  }
  // The uninst component carries the record and the logs, as a publisher packs it.
  void BuildProduct() {
    ForceFolders(folder + "Komponenten\\uninst");
    std::string uninstCopies = "[copy]\r\n";
    for (const std::string name : {"uninst.ini", "zqinstall.log", "zquninstall.log"}) {
      WriteTextFile(folder + "Komponenten\\uninst\\" + name, "");
      uninstCopies += "%thisDir%" + name + "=%installdir%uninst\\" + name + "\r\n";
    }
    Build("", uninstCopies, "[copy]\r\n" + copies + sections);
  }
  std::string ProductLog() const {
    return ReadTextFile(folder + "zqinstall.log") + ReadTextFile(target + "uninst\\zqinstall.log");
  }
};

TEST_F(Faults, AFullDiskFailsTheRunCleansUpAndALargerDiskTakesTheInstallation) {
  int64_t free = -1;
  ULARGE_INTEGER available;
  if (GetDiskFreeSpaceExA("S:\\", &available, nullptr, nullptr)) free = static_cast<int64_t>(available.QuadPart);
  if (free < 0 || free > 16 * 1024 * 1024) GTEST_SKIP() << "no small disk S: on this machine (tmpfs not mounted)";
  AddFile("klein.txt", "klein");
  AddFile("gross.bin", Noise(3 * 1024 * 1024, 7));
  BuildProduct();
  std::string output;
  EXPECT_EQ(Run("-hide -path:s:\\quotaline", output), 26);
  const std::string log = ProductLog();
  EXPECT_NE(log.find("Fehler:  Datei s:\\quotaline\\viewer\\gross.bin~ konnte nicht geschrieben werden."),
            std::string::npos)
      << log;
  EXPECT_EQ(FilesIn("S:\\quotaline"), std::vector<std::string>{});
  EXPECT_NE(RegistryText(kProductKey, "InstallInfo").find("Temporäre Datei konnte nicht erstellt werden."),
            std::string::npos);
  EXPECT_EQ(Run("-hide", output), 0);
  EXPECT_EQ(ReadTextFile(target + "viewer\\gross.bin").size(), 3u * 1024 * 1024);
  EXPECT_EQ(RegistryText(kProductKey, "InstallInfo"), "<none>");  // the failure's note is gone
}

// Waits until the count of the folder's files is far enough for the running
// installer; true then, and the run's end kills it.
bool KillWhen(InstallerRun& run, const std::string& folder, const std::function<bool(size_t)>& far) {
  for (int i = 0; i < 3000 && run.Wait(5) == -1; ++i)
    if (far(FilesIn(folder).size())) return true;
  return false;
}

TEST_F(Faults, KilledInstallationsAndUninstallationsAreCompletedByTheNextRun) {
  constexpr int kFiles = 300;
  // In nested folders whose parents hold no file of their own.
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "tief\\" + std::to_string(i % 3) + "\\unten\\datei" + std::to_string(i) + ".bin";
    ForceFolders(FolderPart(viewer + name));
    AddFile(name, Noise(16 * 1024, i));
  }
  // A shared file that another product uses as well.
  char commonFolder[MAX_PATH] = {};
  ExpandEnvironmentStringsA("%CommonProgramFiles%\\ZqEndeTest\\", commonFolder, MAX_PATH);
  const std::string shared = std::string(commonFolder) + "geteilt.dll";
  CopyFileA(FixturePath("plain.dll").c_str(), (viewer + "geteilt.dll").c_str(), FALSE);
  copies += "%thisDir%geteilt.dll=%commonfilesdir%ZqEndeTest\\geteilt.dll\r\n";
  sections = "[shared]\r\n1=%commonfilesdir%ZqEndeTest\\geteilt.dll\r\n";
  BuildProduct();
  {
    InstallerRun run("\"" + installer + "\" -hide");
    ASSERT_TRUE(KillWhen(run, target + "viewer", [](size_t copied) { return copied >= kFiles / 3; }))
        << "the installation ended before it could be killed";
  }  // terminated here
  int32_t mark = 0;
  EXPECT_TRUE(RegReadInteger(kProductKey, "InstallInProgress", mark) && mark == 1);
  // A file the killed run wrote in part carries a later time than the payload's.
  const std::string first = target + "viewer\\tief\\0\\unten\\datei0.bin";
  ASSERT_TRUE(WriteTextFile(first, "halb"));
  std::string output;
  EXPECT_EQ(Run("-hide", output), 0);
  EXPECT_NE(ProductLog().find("Eine unterbrochene Installation wird vervollständigt: alle Dateien werden neu kopiert."),
            std::string::npos);
  // Every file whole, also the one the killed run was writing.
  const std::vector<std::string> files = FilesIn(target + "viewer");
  ASSERT_EQ(files.size(), static_cast<size_t>(kFiles));
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "tief\\" + std::to_string(i % 3) + "\\unten\\datei" + std::to_string(i) + ".bin";
    ASSERT_EQ(ReadTextFile(target + "viewer\\" + name), Noise(16 * 1024, i)) << name;
  }
  EXPECT_FALSE(RegReadInteger(kProductKey, "InstallInProgress", mark));

  // An uninstallation killed late keeps its record: run again from the
  // uninstall entry, it completes, and nothing is left but the clear-up record.
  const std::string entry = std::string(kUninstallKeys) + "\\ZqEndeTest";
  const std::string uninstall = RegistryText(entry, "QuietUninstallString");
  const char kSharedCounts[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  ASSERT_TRUE(RegWriteInteger(kSharedCounts, shared, 2));
  {
    InstallerRun run(uninstall);
    ASSERT_TRUE(KillWhen(run, target + "viewer", [](size_t left) { return left <= kFiles / 3; }))
        << "the uninstallation ended before it could be killed";
  }
  EXPECT_TRUE(FileExists(target + "uninst\\uninst.ini"));
  EXPECT_EQ(RegistryText(entry, "QuietUninstallString"), uninstall);
  ASSERT_EQ(RunProgram(uninstall, &output), 0) << uninstall;
  // Counted down once: the other product's file stays.
  int32_t count = 0;
  EXPECT_TRUE(RegReadInteger(kSharedCounts, shared, count) && count == 1) << count;
  EXPECT_TRUE(FileExists(shared));
  RegDeleteEntry(kSharedCounts, shared, false);
  DeleteFileA(shared.c_str());
  RemoveDirectoryA(commonFolder);
  EXPECT_EQ(FilesIn(target), std::vector<std::string>{});
  EXPECT_FALSE(FolderExists(target));  // the empty folders went too
  EXPECT_FALSE(RegistryKeyExists(kProductKey));
  EXPECT_FALSE(RegistryKeyExists(std::string(kUninstallKeys) + "\\ZqEndeTest"));
}

TEST_F(Faults, AReadOnlyFileIsReplacedAndAMissingSourceUndoesANewInstallation) {
  AddFile("daten.txt", "neu");
  BuildProduct();
  ForceFolders(target + "viewer");
  const std::string data = target + "viewer\\daten.txt";
  WriteTextFile(data, "alt");
  SetWriteTime(data, 1);
  SetFileAttributesA(data.c_str(), FILE_ATTRIBUTE_READONLY);
  std::string output;
  EXPECT_EQ(Run("-hide", output), 0);
  EXPECT_EQ(ReadTextFile(data), "neu");
  EXPECT_EQ(GetFileAttributesA(data.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);  // an installed file is writable

  // A [copy] line whose file is missing from the archive: -20, and a new
  // installation leaves nothing.
  ForgetProduct();
  const std::string other = folder + "Anderes Ziel\\";
  copies += "%thisDir%fehlt.txt=%installdir%viewer\\fehlt.txt\r\n";
  BuildProduct();
  EXPECT_EQ(Run("\"-path:" + other + "neu\\tiefer" + "\" -hide", output), 20);
  EXPECT_FALSE(FolderExists(other));  // with the folders made for it
  EXPECT_NE(ProductLog().find("Quelldatei"), std::string::npos);
  // A folder longer than the system allows: the parts that could be made go again.
  const std::string tooLong =
      other + std::string(120, 'a') + "\\" + std::string(120, 'b') + "\\" + std::string(60, 'c');
  EXPECT_EQ(Run("\"-path:" + tooLong + "\" -hide", output), 5);
  EXPECT_FALSE(FolderExists(other));
  // Nor is a folder of the system one, or a drive.
  for (const std::string& refused : {temp, std::string("C:\\")}) {
    EXPECT_EQ(Run("\"-path:" + refused + "\" -hide", output), 5) << refused;
    EXPECT_NE(ProductLog().find("Fehler:  Das Installationsverzeichnis " + refused + " ist ein Laufwerk"),
              std::string::npos)
        << refused;
  }
  EXPECT_FALSE(RegistryKeyExists(std::string(kUninstallKeys) + "\\ZqEndeTest"));
}

}  // namespace
