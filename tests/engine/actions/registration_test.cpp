// COM servers and .NET assemblies registered through real fixtures: DLLs that
// register themselves in the prefix's registry or fail to, an executable
// server and stand-in .NET tools that record how they were started.
#include "engine/actions/registration.h"

#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "engine/config/component_reader.h"
#include "support/fake_dotnet.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/system_library.h"
#include "sys/text.h"

namespace {

const char kServerKey[] = "HKEY_CURRENT_USER\\Software\\ZqComFixture";

bool Registered(const std::string& path) {
  std::string value;
  return RegReadString(kServerKey, path, value) && value == "registered";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Registration : public ActionTest {
 protected:
  std::string servers;  // a folder with a blank, as under "Program Files"

  void SetUp() override {
    ActionTest::SetUp();
    servers = folder + "Ziel Ordner\\";
    ForceFolders(servers);
  }
  void TearDown() override { RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqComFixture", true); }
  std::string Place(const std::string& fixture, const std::string& name, const std::string& into) {
    CopyFileA(FixturePath(fixture).c_str(), (into + name).c_str(), FALSE);
    return into + name;
  }
};

TEST_F(Registration, ComServersRegisterDllsFirstAndDeferWhatCannotBeRegistered) {
  const std::string exe = Place("call_recorder.exe", "a server.exe", servers);  // started quoted
  const std::string dll = Place("com_server.dll", "b.dll", servers);
  const std::string bare = Place("plain.dll", "ohne.dll", servers);
  const std::string refusing = Place("com_refusing.dll", "nein.dll", servers);
  const std::string waiting = servers + "wartet.dll", untouched = servers + "alt.dll";
  ComponentEntry component;
  component.Register = {"1=" + exe, "2=" + dll, "3=" + bare, "4=" + refusing, "5=" + waiting, "6=" + untouched};
  for (const std::string& written : {exe, dll, bare, refusing}) component.Copy.push_back({"", written, true});
  component.Pending = {{pkCopy, LowerAscii(waiting)}};  // in use: written beside it
  Install({component});

  EXPECT_EQ(RegisterComps(*object), 0);
  EXPECT_EQ(progress, 30);
  EXPECT_TRUE(Registered(dll));
  EXPECT_TRUE(Contains(ReadTextFile(servers + "calls.log"), "\"" + exe + "\" /REGSERVER"));
  // DLLs before the executable, each group in path order.
  EXPECT_EQ(
      LogFrom("Registriere COM:"),
      (std::vector<std::string>{
          "Registriere COM:    " + dll, "Registriere COM:    " + refusing, log[3],
          "Fehler:  Komponente " + refusing + " konnte nicht registriert werden.", "Registriere COM:    " + bare,
          log[6], "Fehler:  Komponente " + bare + " konnte nicht registriert werden.", "Registriere COM:    " + exe}));
  EXPECT_EQ(log[3].rfind("Fehler:  ", 0), 0u);  // the system's message
  EXPECT_EQ(log[6].rfind("Fehler:  ", 0), 0u);
  EXPECT_EQ(records, (std::vector<std::string>{"10|error_com|~|" + waiting, "3|" + dll, "10|error_com|~|" + refusing,
                                               "10|error_com|~|" + bare, "3|" + exe}));
  const ComponentEntry& after = object->Settings->Components[0];
  EXPECT_EQ(after.Register, (std::vector<std::string>{"2=" + dll, "1=" + exe}));
  EXPECT_EQ(after.Pending, (PendingActions{{pkCopy, LowerAscii(waiting)},
                                           {pkCom, LowerAscii(waiting)},
                                           {pkCom, LowerAscii(refusing)},
                                           {pkCom, LowerAscii(bare)}}));

  // Unregistering the same servers.
  std::vector<std::string> list = after.Register;
  PendingActions scratch;
  records.clear();
  EXPECT_TRUE(RegisterComList(*object, list, scratch, true));
  EXPECT_FALSE(Registered(dll));
  EXPECT_TRUE(Contains(ReadTextFile(servers + "calls.log"), "\"" + exe + "\" /UNREGSERVER"));
  EXPECT_TRUE(Logged("Deregistriere COM:     " + dll));
  EXPECT_TRUE(records.empty());
}

TEST_F(Registration, AServerLoadsTheLibraryOfItsOwnFolderUnderTheInstallersSearchRules) {
  RestrictDllSearch();  // as the installer does first of all
  const std::string dll = Place("dependent/com_dependent.dll", "server.dll", servers);
  Place("dependent/com_helper.dll", "com_helper.dll", servers);
  std::vector<std::string> list = {"1=" + dll};
  PendingActions pending;
  EXPECT_TRUE(RegisterComList(*object, list, pending, false));
  EXPECT_TRUE(Registered(dll));
  EXPECT_TRUE(pending.empty());
  EXPECT_TRUE(RegisterComList(*object, list, pending, true));
  EXPECT_FALSE(Registered(dll));
}

TEST_F(Registration, AssembliesGoThroughTheFrameworksTools) {
  FakeDotNet dotnet(folder + "Framework\\");
  for (const char* version : {"v1.0.3705", "v1.1.4322", "v2.0.50727"}) ASSERT_TRUE(dotnet.AddVersion(version, true));
  ASSERT_TRUE(dotnet.Register(dotnet.Root));
  const std::string tools = dotnet.Root + "v2.0.50727\\";
  Place("call_recorder.exe", "gacutil.exe", tools);
  Place("call_recorder.exe", "RegAsm.exe", tools);  // v1.1.4322 keeps a gacutil.exe that cannot start

  // The framework folder comes from the descriptor's version.
  Install();
  WriteTextFile(folder + "ver.ini", "[component]\r\nname=netz\r\ndotNetVer=2.0\r\n");
  ASSERT_EQ(ReadComponent(*object, folder + "ver.ini"), 0);
  ComponentEntry& net = object->Settings->Components[0];
  ASSERT_EQ(net.DotNetDir, tools);
  const std::string cached1 = servers + "x1.dll", cached2 = servers + "x2.dll", com = servers + "r.dll";
  net.DotNetInstall = {"2=" + cached2, "1=" + cached1};
  net.DotNetRegister = {"1=" + com};
  net.Copy = {{"", com, true}};
  ComponentEntry broken;
  broken.Name = "kaputt";
  broken.DotNetDir = dotnet.Root + "v1.1.4322\\";
  broken.DotNetInstall = {"1=" + servers + "y1.dll", "2=" + servers + "y2.dll"};
  object->Settings->Components.push_back(broken);

  EXPECT_EQ(RegisterComps(*object), 0);
  EXPECT_EQ(InstallDotNet(*object), 0);
  EXPECT_EQ(RegisterDotNet(*object), 0);
  EXPECT_EQ(progress, 30 + 1 + 10);
  const std::string calls = ReadTextFile(tools + "calls.log");
  EXPECT_TRUE(Contains(calls, "\"" + tools + "gacutil.exe\" /i \"" + cached1 + "\"\r\n")) << calls;
  EXPECT_LT(calls.find(cached1), calls.find(cached2));
  EXPECT_TRUE(Contains(calls, "\"" + tools + "RegAsm.exe\" \"" + com + "\" \r\n")) << calls;
  EXPECT_TRUE(Logged("Installiere dotNET: " + cached1));
  EXPECT_TRUE(Logged("Registriere dotNET: " + com));
  // The broken tool stops its component at the first assembly, which is then
  // not recorded as installed.
  EXPECT_FALSE(Logged("Installiere dotNET: " + servers + "y2.dll"));
  const auto failure = LogFrom("Fehler:  Komponente " + servers + "y1.dll konnte nicht installiert werden.\r\n");
  ASSERT_FALSE(failure.empty());
  EXPECT_GT(failure.front().size(),
            ("Fehler:  Komponente " + servers + "y1.dll konnte nicht installiert werden.\r\n").size());
  EXPECT_EQ(object->Settings->Components[1].Name, "");
  EXPECT_EQ(object->Settings->Components[1].Pending,
            (PendingActions{{pkDotNetInstall, LowerAscii(servers) + "y1.dll"}}));
  EXPECT_EQ(object->Settings->Components[0].Name, "netz");
  EXPECT_EQ(records, (std::vector<std::string>{"14|" + cached1, "14|" + cached2,
                                               "16|error_dotnet_inst|~|" + servers + "y1.dll", "13|" + com}));

  std::vector<std::string> registered{com};
  PendingActions scratch;
  EXPECT_TRUE(RegisterAssemblyList(*object, registered, scratch, tools, true));
  EXPECT_TRUE(Contains(ReadTextFile(tools + "calls.log"), "\"" + tools + "RegAsm.exe\" \"" + com + "\" /unregister"));
  EXPECT_TRUE(Logged("Deregistriere dotNET:  " + com));
}

}  // namespace
