// Writing the payload out of installer files and unpacking its archives: on
// containers cut by hand for the length rules and on one built by zqpack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/payload/archive_extraction.h"
#include "engine/payload/payload_writer.h"
#include "engine/result_codes.h"
#include "support/paths.h"
#include "support/process.h"
#include "sys/file_system.h"
#include "sys/text.h"

namespace {

constexpr size_t kImage = 0xA0600, kLibrary = 0x1CE00;

std::string Container(const std::string& name) { return WindowsPath(std::string(ZQ_TEST_CONTAINERS) + "/" + name); }

// One install object whose temporary folder is a scratch folder of its own and
// whose own file is the given installer.
class Payload : public ::testing::Test {
 protected:
  std::vector<std::string> log;  // outlives the object, which reports when it goes
  std::unique_ptr<TInstallObject> object;
  std::string work;

  void Use(const std::string& installer, const std::string& scratch) {
    object = std::make_unique<TInstallObject>();
    log.clear();
    object->ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t flags) {
      if (kind == rkMessage && flags == rfLog) log.push_back(text);
    };
    object->TmpDir = ScratchPath(scratch) + "\\";
    work = object->WorkDir = object->TmpDir + "~qlinst\\";
    ForceFolders(work);
    std::strncpy(object->OwnShortPath, installer.c_str(), sizeof object->OwnShortPath - 1);
  }
  int Write(const std::string& container) {
    Use(Container(container), container + ".tmp");
    return WriteData(*object, work);
  }
  int WriteAndExtract(const std::string& container) {
    const int written = Write(container);
    return written != rcOk ? written : ExtractArchives(*object, work, object->ArchiveFiles);
  }
  std::string Source(const std::string& container) const { return LowerAscii(Container(container)); }
  bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
  static std::string Archive(const std::string& folder, int n) {
    return LowerAscii(folder + "archiv" + std::to_string(n) + ".zip");
  }
};

TEST_F(Payload, TheFileMustHoldTheImageTheLibraryAndFiveHundredBytes) {
  EXPECT_EQ(Write("minimum.exe"), rcOk);
  EXPECT_EQ(object->ArchiveFiles.size(), 1u);
  EXPECT_EQ(Write("one_less.exe"), rcNoInstallData);
  EXPECT_EQ(log, (std::vector<std::string>{"Öffne Quelldatei:   " + Source("one_less.exe"),
                                           "Fehler:  WriteData fehlgeschlagen"}));
  EXPECT_TRUE(object->TempFiles.empty());
  EXPECT_EQ(Write("shorter_than_image.exe"), rcNoInstallData);
  EXPECT_EQ(Write("fehlt.exe"), rcOpenFile);
  EXPECT_TRUE(Logged("Fehler:  WriteData fehlgeschlagen"));
}

TEST_F(Payload, WritesEveryPieceWithItsLogLines) {
  ASSERT_EQ(Write("four.exe"), rcOk);
  const std::string source = Source("four.exe");
  const std::string reading = "Lese Quelldatei:    " + source;
  EXPECT_EQ(log, (std::vector<std::string>{
                     "Öffne Quelldatei:   " + source, reading, "Erzeuge Datei:      " + work + "zquninst.exe",
                     "Schreibe Datei:     " + work + "zquninst.exe", reading,
                     "Erzeuge Datei:      " + work + "UnzLib.dll", "Schreibe Datei:     " + work + "UnzLib.dll",
                     reading + " (Archiv Info)", reading + " (Archiv 0)", "Schreibe Datei:     " + Archive(work, 0),
                     reading + " (Archiv 1)", "Schreibe Datei:     " + Archive(work, 1), reading + " (Archiv 2)",
                     "Schreibe Datei:     " + Archive(work, 2), reading + " (Archiv 3)",
                     "Schreibe Datei:     " + Archive(work, 3)}));
  EXPECT_EQ(object->TempFiles, (std::vector<std::string>{work + "zquninst.exe"}));
  EXPECT_EQ(object->ArchiveFiles,
            (std::vector<std::string>{Archive(work, 0), Archive(work, 1), Archive(work, 2), Archive(work, 3)}));
  const std::string installer = ReadTextFile(Container("four.exe"));
  EXPECT_EQ(ReadTextFile(work + "zquninst.exe"), installer.substr(0, kImage));
  EXPECT_EQ(ReadTextFile(work + "UnzLib.dll"), installer.substr(kImage, kLibrary));
  const std::string archive0 = ReadTextFile(Archive(work, 0));
  EXPECT_EQ(installer.substr(kImage + kLibrary + 400, archive0.size()), archive0);
}

TEST_F(Payload, TheSizeTableEndsAtItsFirstZero) {
  EXPECT_EQ(Write("no_archive.exe"), rcReadArchive);
  EXPECT_TRUE(object->ArchiveFiles.empty());
  EXPECT_FALSE(FileExists(Archive(work, 0)));

  EXPECT_EQ(Write("hundred.exe"), rcOk);
  EXPECT_EQ(object->ArchiveFiles.size(), 100u);
  EXPECT_EQ(object->ArchiveFiles.back(), Archive(work, 99));
}

TEST_F(Payload, AnArchiveCutOffFailsAndKeepsTheEarlierOnes) {
  EXPECT_EQ(Write("cut_first.exe"), rcReadArchive);
  EXPECT_TRUE(object->ArchiveFiles.empty());
  EXPECT_EQ(Write("cut_third.exe"), rcWriteArchive);
  EXPECT_EQ(object->ArchiveFiles, (std::vector<std::string>{Archive(work, 0), Archive(work, 1)}));
  EXPECT_TRUE(FileExists(Archive(work, 1)));
  EXPECT_FALSE(FileExists(Archive(work, 2)));
  EXPECT_EQ(log.back(), "Fehler:  WriteData fehlgeschlagen");
}

TEST_F(Payload, AReadOnlyLeftoverArchiveIsReplaced) {
  Use(Container("four.exe"), "read_only");
  const std::string leftover = Archive(work, 3);
  ASSERT_TRUE(WriteTextFile(leftover, "old"));
  SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(WriteData(*object, work), rcOk);
  EXPECT_NE(ReadTextFile(leftover), "old");
  EXPECT_EQ(GetFileAttributesA(leftover.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Payload, TheIntegrityTrailerGuardsThePayload) {
  // Sealed, and followed by a signature block, it is written as without one.
  EXPECT_EQ(WriteAndExtract("sealed.exe"), rcOk);
  EXPECT_EQ(object->ArchiveFiles.size(), 4u);
  // One flipped byte in the first archive: the run ends before any library is loaded.
  EXPECT_EQ(Write("damaged.exe"), rcReadSetupFile);
  EXPECT_EQ(log[log.size() - 2], "Fehler:  Die Installationsdatei " + Source("damaged.exe") + " ist beschädigt.");
  EXPECT_EQ(log.back(), "Fehler:  WriteData fehlgeschlagen");
}

TEST_F(Payload, AnUninstallerThatCannotBeCreatedFailsTheRun) {
  Use(Container("four.exe"), "locked");
  const std::string uninstaller = work + "zquninst.exe";
  ForceFolders(uninstaller);  // a folder in its place
  // The failure leaves as an exception, which the initialisation answers with -3.
  EXPECT_THROW(WriteData(*object, work), std::runtime_error);
  EXPECT_EQ(log.back(), "Fehler:  WriteData fehlgeschlagen");
  EXPECT_EQ(log[log.size() - 2], "Erzeuge Datei:      " + uninstaller);
  EXPECT_EQ(object->TempFiles, (std::vector<std::string>{uninstaller}));
}

TEST_F(Payload, ExtractsEveryArchiveWithItsLogLines) {
  ASSERT_EQ(WriteAndExtract("four.exe"), rcOk);
  const std::string teil1 = LowerAscii(work) + "teil1\\";
  // The extracted members follow the uninstaller, lower-cased, in archive order.
  ASSERT_EQ(object->TempFiles.size(), 1u + 2 + 2 + 2 + 2);
  EXPECT_EQ(object->TempFiles[1], LowerAscii(work) + "uninst\\ver.ini");
  EXPECT_EQ(object->TempFiles[3], teil1 + "ver.ini");
  EXPECT_EQ(object->TempFiles[4], teil1 + "daten1.txt");
  EXPECT_TRUE(FileExists(teil1 + "daten1.txt"));
  const auto first = std::find(log.begin(), log.end(), "Lese Quelldatei:    " + Archive(work, 1));
  ASSERT_NE(first, log.end());
  EXPECT_EQ(
      std::vector<std::string>(first, first + 5),
      (std::vector<std::string>{"Lese Quelldatei:    " + Archive(work, 1), "Extrahiere: Datei(en) 2   Größe: 109 Bytes",
                                "Extrahiere: " + teil1 + "ver.ini   Größe: 9 Bytes",
                                "Extrahiere: " + teil1 + "daten1.txt   Größe: 100 Bytes",
                                "Extrahiert: Datei(en) 2   Größe: 109 Bytes"}));
  // The unattended warning reaches the handler without a library error: not logged.
  for (const std::string& line : log) EXPECT_EQ(line.find("Warnung"), std::string::npos) << line;
  EXPECT_EQ(object->Counters.FilesStarted, 0);
}

TEST_F(Payload, ArchivesThatCannotBeUnpackedStopTheLoop) {
  EXPECT_EQ(WriteAndExtract("empty_archive.exe"), rcNoArchives);
  EXPECT_EQ(WriteAndExtract("only_folders.exe"), rcNoArchives);
  EXPECT_EQ(WriteAndExtract("not_a_zip.exe"), rcOpenArchive);
  EXPECT_TRUE(Logged("Fehler:  Extrahieren fehlgeschlagen: [Dieses (SFX-) Archiv ist keine gültige ZIP-Datei]"));

  EXPECT_EQ(WriteAndExtract("bad_crc.exe"), rcExtractArchive);
  EXPECT_FALSE(FileExists(work + "uninst\\ver.ini"));  // the loop stopped at archive 0
  const auto failure = std::find_if(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("Fehler:  Extrahieren fehlgeschlagen: [", 0) == 0;
  });
  EXPECT_NE(failure, log.end());
}

TEST_F(Payload, HostileNamesFailTheExtractionAndStayInside) {
  EXPECT_EQ(WriteAndExtract("hostile.exe"), rcExtractArchive);
  EXPECT_TRUE(FileExists(work + "sub\\ok.txt"));
  EXPECT_FALSE(FileExists(object->TmpDir + "evil.txt"));
  EXPECT_FALSE(FileExists(object->TmpDir + "evil2.txt"));
}

TEST_F(Payload, AnUnloadableLibraryFailsTheArchive) {
  EXPECT_EQ(WriteAndExtract("no_library.exe"), rcExtractArchive);
  EXPECT_TRUE(Logged("Fehler:  Extrahieren fehlgeschlagen: [UNZLIB.DLL nicht gefunden!]"));
  EXPECT_FALSE(FileExists(work + "uninst\\ver.ini"));
}

TEST_F(Payload, AnInstallerBuiltByZqpackUnpacksCompletely) {
  const std::string components = ScratchPath("components") + "\\";
  ForceFolders(components + "uninst");
  ForceFolders(components + "viewer\\bin\\tief");
  WriteTextFile(components + "uninst\\install.ini", "[Install]\r\n");
  WriteTextFile(components + "uninst\\ver.ini", "[Files]\r\n");
  WriteTextFile(components + "uninst\\uninst.ini", "");
  WriteTextFile(components + "viewer\\ver.ini", "[Files]\r\n");
  WriteTextFile(components + "viewer\\bin\\tief\\Größe.dat", std::string(50000, 'g'));
  const std::string installer = ScratchPath("setup.exe");
  std::string output;
  ASSERT_EQ(RunProgram("\"" + WindowsPath(ZQ_ZQPACK) + "\" --image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" +
                           WindowsPath(ZQ_UNZLIB) + "\" --no-check --output \"" + installer + "\" \"" + components +
                           "uninst\" \"" + components + "viewer\"",
                       &output),
            0)
      << output;

  Use(installer, "from_zqpack");
  ASSERT_EQ(WriteData(*object, work), rcOk);
  ASSERT_EQ(ExtractArchives(*object, work, object->ArchiveFiles), rcOk);
  EXPECT_EQ(object->ArchiveFiles.size(), 2u);
  EXPECT_EQ(ReadTextFile(work + "viewer\\bin\\tief\\Größe.dat"), std::string(50000, 'g'));
  EXPECT_EQ(ReadTextFile(work + "uninst\\install.ini"), "[Install]\r\n");
  EXPECT_NE(
      std::find(object->TempFiles.begin(), object->TempFiles.end(), LowerAscii(work) + "viewer\\bin\\tief\\größe.dat"),
      object->TempFiles.end());
  // The uninstaller is the installer's image as zqpack wrote it, with the product's version.
  const std::string image = ReadTextFile(WindowsPath(ZQ_IMAGE));
  EXPECT_EQ(ReadTextFile(work + "zquninst.exe"), ReadTextFile(installer).substr(0, image.size()));
}

}  // namespace
