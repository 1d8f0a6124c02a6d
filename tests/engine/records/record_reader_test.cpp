// The uninstall record read back for uninstalling and clearing up, and the
// record's list of folders to clear up.
#include "engine/records/record_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/records/record_seal.h"
#include "engine/result_codes.h"
#include "support/fake_dotnet.h"
#include "support/paths.h"
#include "support/sealed_record.h"
#include "sys/file_system.h"
#include "sys/ini_file.h"

namespace {

struct Report {
  uint8_t kind;
  std::string text;
  uint8_t flags;
  bool operator==(const Report& other) const {
    return kind == other.kind && text == other.text && flags == other.flags;
  }
  friend void PrintTo(const Report& report, std::ostream* out) {
    *out << int(report.kind) << " \"" << report.text << "\" " << int(report.flags);
  }
};

class RecordReader : public ::testing::Test {
 protected:
  std::vector<Report> reports;  // outlives the object, which reports when it goes
  TInstallObject object;
  std::string folder;
  std::string installDir;

  void SetUp() override {
    object.ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t flags) {
      reports.push_back({kind, text, flags});
    };
    object.Uninstall = std::make_unique<UninstallData>();
    folder = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    installDir = folder + "Quotaline\\";
    ForceFolders(installDir + "uninst");
  }
  std::string Record(const std::string& sections) {
    const std::string path = installDir + "uninst\\uninst.ini";
    WriteTextFile(path, "[Info]\r\nInstallPath=" + installDir +
                            "\r\nRegUser=HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline\r\n"
                            "RegMachine=HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline\r\n"
                            "Version=1.0.0.7\r\nName=Quotaline\r\nDeleteShared=1\r\n" +
                            sections);
    return path;
  }
  const UninstallData& data() const { return *object.Uninstall; }
};

TEST_F(RecordReader, ReadsEveryListOfTheRecord) {
  FakeDotNet dotnet(folder + "Framework\\");
  ASSERT_TRUE(dotnet.AddVersion("v1.1.4322", true));
  ASSERT_TRUE(dotnet.Register(dotnet.Root));
  const std::string path = Record(
      "[InstalledFiles]\r\nc:\\q\\a.exe=installed\r\nc:\\q\\b.dll=installed\r\n"
      "[CommonFiles]\r\nc:\\common\\s.dll=installed\r\n[COM]\r\nc:\\q\\b.dll=registered\r\n"
      "[dotNET]\r\nc:\\q\\n.dll=registered\r\n[Registry]\r\nHKEY_CURRENT_USER\\Software\\Q\\Wert=inserted\r\n"
      "[Directories]\r\nc:\\q\\=delete\r\n[Groups]\r\nQuotaline=created\r\n"
      "[Links]\r\nc:\\menu\\Viewer=\"c:\\q\\a.exe\"\r\n");
  ASSERT_EQ(ReadUninstallData(object, path), rcOk);
  EXPECT_EQ(reports, (std::vector<Report>{{rkMessage, "Lese Deinstallationsinfo...", rfLog | rfStatus}}));
  EXPECT_EQ(data().InstalledFiles, (std::vector<std::string>{"c:\\q\\a.exe", "c:\\q\\b.dll"}));
  EXPECT_EQ(data().CommonFiles, (std::vector<std::string>{"c:\\common\\s.dll"}));
  EXPECT_EQ(data().ComFiles, (std::vector<std::string>{"c:\\q\\b.dll"}));
  EXPECT_EQ(data().DotNetFiles, (std::vector<std::string>{"c:\\q\\n.dll=registered"}));
  EXPECT_EQ(data().RegistryValues, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Q\\Wert=inserted"}));
  EXPECT_EQ(data().Directories, (std::vector<std::string>{"c:\\q\\"}));
  EXPECT_EQ(data().Groups, (std::vector<std::string>{"Quotaline"}));
  EXPECT_EQ(data().Links, (std::vector<std::string>{"c:\\menu\\Viewer=c:\\q\\a.exe"}));  // quotes removed
  EXPECT_TRUE(data().DeleteShared);
  EXPECT_EQ(data().Version, "1.0.0.7");
  EXPECT_EQ(data().RegMachine, "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline");
  EXPECT_EQ(object.ProductName, "Quotaline");
  EXPECT_EQ(object.InstallDir, installDir);
  EXPECT_EQ(object.UninstDir, installDir + "uninst\\");
  EXPECT_TRUE(data().DotNetPresent);
  EXPECT_EQ(data().DotNetDir, dotnet.Root + "v1.1.4322\\");
}

// The runtime and the programs to close come from the record alone:
// install.ini beside it may be anybody's who can write the folder.
TEST_F(RecordReader, TheRecordNamesTheRuntimeAndTheProgramsToClose) {
  FakeDotNet dotnet(folder + "Framework\\");
  ASSERT_TRUE(dotnet.AddVersion("v1.1.4322", true));
  ASSERT_TRUE(dotnet.Register(dotnet.Root));
  WriteTextFile(installDir + "uninst\\install.ini",
                "[install]\r\ncheckDotNet=1.1.4322\r\n[close]\r\nFremd=Fremdes Fenster\r\n");
  ASSERT_EQ(ReadUninstallData(object, Record("[InstalledFiles]\r\nc:\\q\\a.exe=installed\r\n[Close]\r\n"
                                             "TViewerForm=Quotaline Viewer\r\nTMain=\r\n")),
            rcOk);
  EXPECT_EQ(object.CloseList, (std::vector<std::string>{"TViewerForm=Quotaline Viewer", "TMain="}));
  EXPECT_TRUE(data().DotNetPresent);  // a record without CheckDotNet asks for 1.1.4322
  IniFile(installDir + "uninst\\uninst.ini").WriteString("Info", "CheckDotNet", "2.0");
  ASSERT_EQ(ReadUninstallData(object, installDir + "uninst\\uninst.ini"), rcOk);
  EXPECT_FALSE(data().DotNetPresent);
}

TEST_F(RecordReader, IncompleteRecordsAreRejected) {
  const std::string missing = folder + "fehlt\\uninst.ini";
  EXPECT_EQ(ReadUninstallData(object, missing), rcNoSettings);
  EXPECT_EQ(reports,
            (std::vector<Report>{{rkMessage, "Fehler:  Datei " + missing + " konnte nicht gefunden werden.", rfLog}}));
  EXPECT_EQ(ReadClearupData(object, missing), rcNoSettings);

  // No installed file, though everything else is there.
  EXPECT_EQ(ReadUninstallData(object, Record("[COM]\r\nc:\\q\\b.dll=registered\r\n")), rcNoUninstallData);
  EXPECT_EQ(object.ProductName, "Quotaline");

  // The installation folder is gone.
  const std::string path = Record("[InstalledFiles]\r\nc:\\q\\a.exe=installed\r\n");
  IniFile(path).WriteString("Info", "InstallPath", folder + "weg");
  EXPECT_EQ(ReadUninstallData(object, path), rcNoUninstallData);
  EXPECT_EQ(object.InstallDir, folder + "weg\\");

  // No name.
  IniFile(path).WriteString("Info", "InstallPath", installDir);
  IniFile(path).WriteString("Info", "Name", "");
  EXPECT_EQ(ReadUninstallData(object, path), rcNoUninstallData);
}

TEST_F(RecordReader, ClearupReadsTheFoldersSortedWithoutDuplicates) {
  const std::string path =
      Record("[Directories]\r\nc:\\q\\sub\\=delete\r\nc:\\q\\=delete\r\n[Other]\r\nc:\\q\\=delete\r\n");
  IniFile(path).WriteString("Directories", "C:\\Q\\", "delete");  // the same folder, other case
  EXPECT_EQ(ReadClearupData(object, path), rcOk);
  EXPECT_EQ(std::vector<std::string>(object.ClearupFolders.begin(), object.ClearupFolders.end()),
            (std::vector<std::string>{"c:\\q\\", "c:\\q\\sub\\"}));
  EXPECT_EQ(object.ProductName, "Quotaline");
  EXPECT_EQ(object.InstallDir, installDir);
  EXPECT_EQ(object.UninstDir, installDir + "uninst\\");
  EXPECT_EQ(data().RegUser, "HKEY_CURRENT_USER\\Software\\Zelo\\Quotaline");

  object.ClearupFolders.clear();
  EXPECT_EQ(ReadClearupData(object, Record("[InstalledFiles]\r\nc:\\q\\a.exe=installed\r\n")), rcNoUninstallData);
  IniFile(path).WriteString("Directories", "c:\\q\\", "delete");
  IniFile(path).WriteString("Info", "InstallPath", folder + "weg\\");
  EXPECT_EQ(ReadClearupData(object, path), rcNoUninstallData);
}

// Only folders still there need a clear-up.
TEST_F(RecordReader, ClearupDataNamesTheFoldersInsideTheInstallationThatAreLeft) {
  object.InstallDir = installDir;
  ForceFolders(installDir + "viewer");
  const std::vector<std::string> files = {installDir + "viewer\\Liesmich.txt", "C:\\Windows\\System32\\shared.dll",
                                          installDir + "a.exe", installDir, installDir + "weg\\b.txt"};
  WriteClearupData(object, files);
  const std::string lower = LowerAscii(installDir);
  EXPECT_EQ(reports, (std::vector<Report>{
                         {rkMessage, "Aktualisiere Installationsdatei...", rfLog | rfStatus},
                         {rkDirectory, lower + "viewer\\", 0},
                         {rkDirectory, lower, 0},
                         {rkDirectory, lower, 0},
                         {rkProgress, "1", 0},  // five fifths of the weight
                         {rkProgress, "0", 0},
                     }));
}

TEST_F(RecordReader, RemoveClearupInfoErasesOnlyTheFolders) {
  object.UninstDir = installDir + "uninst\\";
  const std::string path = Record("[Directories]\r\nc:\\q\\=delete\r\n[InstalledFiles]\r\nc:\\q\\a.exe=installed\r\n");
  // A record the installer did not seal is left as it is: it is never read again.
  RemoveClearupInfo(object);
  EXPECT_TRUE(IniFile(path).HasSection("Directories"));
  ASSERT_TRUE(SealHandWrittenRecord(path));
  RemoveClearupInfo(object);
  EXPECT_TRUE(RecordSealed(path));  // sealed anew as it is now
  const IniFile record(path);
  EXPECT_FALSE(record.HasSection("Directories"));
  EXPECT_TRUE(record.HasSection("installedfiles"));
  EXPECT_EQ(record.ReadString("Info", "Name", ""), "Quotaline");

  // Without a record nothing is created.
  object.UninstDir = folder + "leer\\";
  RemoveClearupInfo(object);
  EXPECT_FALSE(FileExists(folder + "leer\\uninst.ini"));
}

}  // namespace
