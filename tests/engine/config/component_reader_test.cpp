// Component descriptors read into component entries, on real files.
#include "engine/config/component_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/install_object.h"
#include "engine/result_codes.h"
#include "support/fake_dotnet.h"
#include "support/paths.h"
#include "sys/file_system.h"

namespace {

class ComponentReader : public ::testing::Test {
 protected:
  std::vector<std::pair<uint8_t, std::string>> reports;  // outlives the object
  TInstallObject object;
  std::string folder;

  void SetUp() override {
    object.ReportProcedure = [this](uint8_t kind, const std::string& text, uint8_t) {
      reports.emplace_back(kind, text);
    };
    object.Settings = std::make_unique<InstallSettings>();
    folder = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  // Writes component/ver.ini and returns its path.
  std::string Descriptor(const std::string& component, const std::string& text) {
    ForceFolders(folder + component);
    const std::string path = folder + component + "\\ver.ini";
    WriteTextFile(path, text);
    return path;
  }
  const std::vector<ComponentEntry>& components() const { return object.Settings->Components; }
};

TEST_F(ComponentReader, FillsTheEntryWithExpandedSortedLists) {
  const std::string path = Descriptor(
      "viewer",
      "[component]\r\nname=viewer\r\nexename=viewer.exe\r\npath=%tempdir%Viewer\r\nversion=08.12.2026 08:00:00\r\n"
      "force=1\r\n[copy]\r\n%thisDir%b.exe=%tempdir%b.exe\r\n%thisDir%A.dll=%tempdir%a.dll\r\n"
      "[register]\r\n1=r1\r\n2=r2\r\n10=r10\r\n11=r11\r\n12=r12\r\n3=r3\r\n"
      "[shared]\r\n1=%systemdir%s.dll\r\n[dotnetregister]\r\n1=n.dll\r\n[dotNetInstall]\r\n1=g.dll\r\n"
      "[registry]\r\n%machineReg%\\Pfad=%thisDir%\r\n"
      "[ini]\r\n1=%tempdir%a.ini=settings\r\nabc=x.ini=s\r\n0=y.ini=t\r\n"
      "[AddIni1]\r\nViewerPath=%tempdir%viewer.exe\r\n[AddIni0]\r\nk=v\r\n");
  object.Settings->RegMachine = "HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline";
  ASSERT_EQ(ReadComponent(object, path), rcOk);
  ASSERT_EQ(components().size(), 1u);
  const ComponentEntry& entry = components()[0];
  const std::string here = folder + "viewer\\";
  const std::string& temp = object.TmpDir;
  EXPECT_EQ(entry.Name, "viewer");
  EXPECT_EQ(entry.ExeName, "viewer.exe");
  EXPECT_EQ(entry.Path, temp + "Viewer\\");
  EXPECT_EQ(entry.Version, "08.12.2026 08:00:00");
  EXPECT_TRUE(entry.Force);
  EXPECT_EQ(entry.Copy, (std::vector<CopyEntry>{{here + "A.dll", temp + "a.dll"}, {here + "b.exe", temp + "b.exe"}}));
  EXPECT_EQ(entry.Register, (std::vector<std::string>{"1=r1", "10=r10", "11=r11", "12=r12", "2=r2", "3=r3"}));
  EXPECT_EQ(entry.Shared, (std::vector<std::string>{"1=" + object.SystemDir + "s.dll"}));
  EXPECT_EQ(entry.DotNetRegister, (std::vector<std::string>{"1=n.dll"}));
  EXPECT_EQ(entry.DotNetInstall, (std::vector<std::string>{"1=g.dll"}));
  EXPECT_EQ(entry.Registry, (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Zelo\\Quotaline\\Pfad=" + here}));
  EXPECT_EQ(entry.IniEdits,
            (std::vector<std::string>{"y.ini=t=k=v", temp + "a.ini=settings=ViewerPath=" + temp + "viewer.exe"}));
  EXPECT_TRUE(entry.Pending.empty());
  EXPECT_TRUE(entry.DotNetDir.empty());
}

TEST_F(ComponentReader, OnlyOneForcesAndADescriptorNeedsNoComponentSection) {
  EXPECT_EQ(ReadComponent(object, Descriptor("ja", "[component]\r\nforce=yes\r\n")), rcOk);
  EXPECT_EQ(ReadComponent(object, Descriptor("zwei", "[component]\r\nforce=2\r\n")), rcOk);
  EXPECT_EQ(ReadComponent(object, Descriptor("nur_copy", "[copy]\r\n%thisDir%a.txt=%tempdir%a.txt\r\n")), rcOk);
  ASSERT_EQ(components().size(), 3u);
  EXPECT_FALSE(components()[0].Force);
  EXPECT_FALSE(components()[1].Force);
  EXPECT_TRUE(components()[2].Name.empty());
  EXPECT_TRUE(components()[2].Path.empty());
  EXPECT_EQ(components()[2].Copy, (std::vector<CopyEntry>{{folder + "nur_copy\\a.txt", object.TmpDir + "a.txt"}}));
  EXPECT_EQ(ReadComponent(object, folder + "fehlt\\ver.ini"), rcFileNotFound);
}

TEST_F(ComponentReader, AMissingDotNetRuntimeLeavesTheComponentOut) {
  FakeDotNet dotnet(folder + "Framework\\");
  ASSERT_TRUE(dotnet.AddVersion("v1.0.3705", true));
  ASSERT_TRUE(dotnet.Register(dotnet.Root));
  const std::string path = Descriptor("netkomp", "[component]\r\nname=net\r\ndotNetVer=1.1.4322\r\n");
  EXPECT_EQ(ReadComponent(object, path), rcOk);
  EXPECT_TRUE(components().empty());
  EXPECT_TRUE(reports.empty());  // left out silently

  ASSERT_TRUE(dotnet.AddVersion("v2.0.50727", true));
  EXPECT_EQ(ReadComponent(object, path), rcOk);
  ASSERT_EQ(components().size(), 1u);
  EXPECT_EQ(components()[0].DotNetDir, dotnet.Root + "v2.0.50727\\");
}

TEST_F(ComponentReader, ProcessInstInisReadsTheDescriptorsOfTheTemporaryFilesInPathOrder) {
  object.TempFiles = {folder + "zquninst.exe", Descriptor("uninst", "[component]\r\nname=uninst\r\n"),
                      folder + "tools\\daten.bin", Descriptor("tools", "[component]\r\nname=tools\r\n")};
  EXPECT_EQ(ProcessInstInis(object), rcOk);
  ASSERT_EQ(components().size(), 2u);
  EXPECT_EQ(components()[0].Name, "tools");
  EXPECT_EQ(components()[1].Name, "uninst");
  EXPECT_EQ(reports.front(),
            std::make_pair(uint8_t(rkMessage), std::string("Ermittle zu installierende Komponenten...")));
  int progress = 0;
  for (const auto& report : reports)
    if (report.first == rkProgress) progress += std::stoi(report.second);
  EXPECT_EQ(progress, 1);  // the step's whole weight

  // A descriptor that has gone stops the step; the entries before it stay.
  object.TempFiles.push_back(folder + "ueber\\VER.INI");
  EXPECT_EQ(ProcessInstInis(object), rcFileNotFound);
  ASSERT_EQ(components().size(), 1u);

  object.Settings.reset();
  EXPECT_EQ(ProcessInstInis(object), rcMemoryError);
}

}  // namespace
