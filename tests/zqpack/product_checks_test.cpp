// The descriptor checks: a clean product gives no finding, even with every
// text at its length limit, and each mistake, put into it alone, gives
// exactly its one finding, at its file, section, key and line.
#include "checks/product_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

enum Text { kUninstDescriptor, kViewerDescriptor, kSettings };

std::string Repeat(char c, size_t n) { return std::string(n, c); }

struct Product {
  std::vector<ComponentFiles> Components;

  Product() {
    ComponentFiles uninst;
    uninst.Folder = "produkt/uninst";
    uninst.Members = {"install.ini", "uninst.ini", "ver.ini"};
    uninst.Descriptor =
        "[component]\r\n"
        "name=uninst\r\n"
        "[copy]\r\n"
        "%thisDir%install.ini=%installDir%uninst\\install.ini\r\n";
    uninst.HasInstallSettings = true;
    uninst.InstallSettings =
        "; the product\r\n"
        "[install]\r\n"
        "name=Quotaline\r\n"
        "RegRoot=" +
        Repeat('R', 254 - 37) +
        "\r\n"
        "defaultDir=%programsdir%Quotaline\\\r\n"
        "UninstTitle=\"" +
        Repeat('T', 63) +
        "\"\r\n"
        "[RunProg]\r\n"
        "%installDir%viewer\\app.exe = /a" +
        Repeat('a', 386 - 29) +
        "\r\n"
        "[groups]\r\n"
        "1=Quotaline\r\n"
        "2=Werkzeuge\r\n"
        "[links]\r\n"
        "%menudir%Quotaline\\App=%installdir%VIEWER\\app.exe\r\n"
        "[close]\r\n"
        "TApp=App\r\n"
        "[Base]\r\n"
        "Name=" +
        Repeat('n', 127) + "\r\n";
    ComponentFiles viewer;
    viewer.Folder = "produkt/viewer";
    viewer.Members = {"ver.ini", "app.exe",
                      "lib\\Gr\xf6\xdf"
                      "e.dll"};
    viewer.Descriptor =
        "[component]\r\n"
        "name=" +
        Repeat('n', 127) +
        "\r\n"
        "exename=app.exe\r\n"
        "version=2.0.0.1 vom 01.12.2026\r\n"
        "path=%installDir%" +
        Repeat('p', 260 - 12) +
        "\r\n"
        "[copy]\r\n"
        "%thisDir%app.exe=%installDir%viewer\\app.exe\r\n"
        "%THISDIR%\\lib\\gr\xf6\xdf"
        "e.dll=%commonFilesDir%Zelo\\Gr\xf6\xdf"
        "e.dll\r\n"
        "[register]\r\n"
        "1=%installdir%\\viewer\\APP.exe\r\n"
        "[shared]\r\n"
        "1=%commonfilesdir%zelo\\gr\xf6\xdf"
        "e.dll\r\n"
        "[registry]\r\n"
        "%machineReg%\\Einstellungen\\Pfad=%installDir%daten\r\n"
        "%userReg%\\Ansicht\\Zoom=100%\r\n"
        "[ini]\r\n"
        "1=%installDir%viewer\\app.ini=options\r\n"
        "[AddIni1]\r\n"
        "DataPath=%installDir%daten\r\n"
        "[dotnetregister]\r\n"
        "1=%INSTALLDIR%viewer\\app.exe\r\n"
        "[dotNetInstall]\r\n"
        "1=%installDir%Viewer\\App.exe\r\n";
    Components = {uninst, viewer};
  }

  std::string& At(Text text) {
    return text == kSettings ? Components[0].InstallSettings : Components[text == kViewerDescriptor].Descriptor;
  }
};

struct Case {
  const char* Name;
  Text In;
  const char* From;  // replaced by To; empty: To is appended
  const char* To;
  bool Error;
  const char *File, *Section, *Key;
  int Line;
  const char* Message;  // a part of the message
};

const Case kCases[] = {
    // Errors.
    {"misspelt section", kViewerDescriptor, "[registry]", "[regsitry]", true, "produkt/viewer/ver.ini", "regsitry", "",
     13, "never reads this section (did you mean \"registry\"?), and [registry] is missing"},
    {"a needed section misspelt", kSettings, "[groups]", "[grups]", true, "produkt/uninst/install.ini", "grups", "", 9,
     "(did you mean \"groups\"?), and [groups] is missing"},
    {"install.ini without name", kSettings, "name=Quotaline\r\n", "", true, "produkt/uninst/install.ini", "install",
     "name", 2, "no name: the product would be registered as \"Quotaline\""},
    {"[base] naming no component", kSettings, "Name=n", "Name=xn", true, "produkt/uninst/install.ini", "Base", "Name",
     17, "no component of the product is named \"xn"},
    {"source not in the folder", kViewerDescriptor, "%thisDir%app.exe=", "%thisDir%bin\\app.exe=", true,
     "produkt/viewer/ver.ini", "copy", "%thisDir%bin\\app.exe", 7,
     "\"%thisDir%bin\\app.exe\" is not in the component folder"},
    {"copy line without =", kViewerDescriptor, "[register]", "%thisDir%app.exe.bak\r\n[register]", true,
     "produkt/viewer/ver.ini", "copy", "%thisDir%app.exe.bak", 9, "no \"=\" between source and destination"},
    {"registry line without \\", kViewerDescriptor, "%userReg%\\Ansicht\\Zoom", "Zoom", true, "produkt/viewer/ver.ini",
     "registry", "Zoom", 15, "no \"\\\" between the key path and the value name"},
    {"registry line without =", kViewerDescriptor, "Zoom=100%", "Zoom", true, "produkt/viewer/ver.ini", "registry",
     "%userReg%\\Ansicht\\Zoom", 15, "no \"=\" before the value"},
    {"register a file not copied", kViewerDescriptor, "APP.exe", "fehlt.dll", true, "produkt/viewer/ver.ini",
     "register", "1", 10, "the installer registers only files it wrote"},
    {"count a file not copied", kViewerDescriptor, "zelo\\gr", "zelo\\kl", true, "produkt/viewer/ver.ini", "shared",
     "1", 12, "the installer counts only files it wrote"},
    {"dotnetregister a file not copied", kViewerDescriptor, "%INSTALLDIR%viewer\\app.exe", "%INSTALLDIR%net.dll", true,
     "produkt/viewer/ver.ini", "dotnetregister", "1", 21, "registers only files"},
    {"install into the cache a file not copied", kViewerDescriptor, "Viewer\\App.exe", "Viewer\\Net.dll", true,
     "produkt/viewer/ver.ini", "dotNetInstall", "1", 23, "installs into the assembly cache only files"},
    {"name too long", kViewerDescriptor, "name=n", "name=nn", true, "produkt/viewer/ver.ini", "component", "name", 2,
     "128 characters; the installer keeps only the first 127"},
    {"exename too long", kViewerDescriptor, "exename=app.exe",
     "exename="
     "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
     "aaaaaaaaaaa.exe",
     true, "produkt/viewer/ver.ini", "component", "exename", 3, "128 characters"},
    {"path too long", kViewerDescriptor, "path=%", "path=x%", true, "produkt/viewer/ver.ini", "component", "path", 5,
     "261 characters"},
    {"version too long", kViewerDescriptor, "version=2", "version=12", true, "produkt/viewer/ver.ini", "component",
     "version", 4, "23 characters; the installer keeps only the first 22"},
    {"uninstall title too long", kSettings, "UninstTitle=\"", "UninstTitle=\"T", true, "produkt/uninst/install.ini",
     "install", "UninstTitle", 6, "64 characters"},
    {"program line too long", kSettings, "/a", "/ab", true, "produkt/uninst/install.ini", "RunProg",
     "%installDir%viewer\\app.exe", 8, "387 characters"},
    {"registry key too long", kSettings, "RegRoot=R", "RegRoot=RR", true, "produkt/uninst/install.ini", "install",
     "RegRoot", 4, "of 255 characters; the installer keeps only the first 254"},
    {"unknown placeholder", kViewerDescriptor, "path=%installDir%", "path=%instalDir%", true, "produkt/viewer/ver.ini",
     "component", "path", 5, "%instalDir% is not a placeholder the installer knows"},
    {"%thisDir% outside the descriptor lists", kSettings, "%menudir%Quotaline\\App=", "%thisDir%App=", true,
     "produkt/uninst/install.ini", "links", "%thisDir%App", 13, "%thisDir% stands for the component folder only"},
    {"%installDir% in the default folder", kSettings, "%programsdir%Quotaline", "%installDir%Quotaline", true,
     "produkt/uninst/install.ini", "install", "defaultDir", 5, "%installDir% is not known yet"},
    {"%userReg% outside [registry]", kViewerDescriptor, "1=%installDir%viewer", "1=%userReg%viewer", true,
     "produkt/viewer/ver.ini", "ini", "1", 17, "%userReg% is known only in"},
    {"no copy of install.ini", kUninstDescriptor, "%thisDir%install.ini=%installDir%uninst\\install.ini",
     "%thisDir%install.ini=%installDir%install.ini", true, "produkt/uninst/ver.ini", "copy", "", 0,
     "no [copy] line installs install.ini as %installDir%uninst\\install.ini"},
    {"INI edit without section", kViewerDescriptor, "app.ini=options", "app.ini", true, "produkt/viewer/ver.ini", "ini",
     "1", 17, "no \"=\" between the INI file and its section"},
    {"INI entry without value", kViewerDescriptor, "DataPath=%installDir%daten", "DataPath=", true,
     "produkt/viewer/ver.ini", "AddIni1", "DataPath", 19, "no value after \"=\""},
    {"link without =", kSettings, "=%installdir%VIEWER\\app.exe", "", true, "produkt/uninst/install.ini", "links",
     "%menudir%Quotaline\\App", 13, "no \"=\" between the link and its target"},
    // Warnings.
    {"groups with a gap", kSettings, "2=Werkzeuge", "3=Werkzeuge", false, "produkt/uninst/install.ini", "groups", "3",
     11, "never read: groups are read by the keys 1 to 2"},
    {"INI line without a number", kViewerDescriptor, "[AddIni1]", "eins=%installDir%b.ini=s\r\n[AddIni1]", false,
     "produkt/viewer/ver.ini", "ini", "eins", 18, "the key is not a number"},
    {"| in a registry path", kViewerDescriptor, "Ansicht\\Zoom", "Ansicht|Alt\\Zoom", false, "produkt/viewer/ver.ini",
     "registry", "%userReg%\\Ansicht|Alt\\Zoom", 15, "cannot hold a \"|\""},
    {"unknown placeholder in a registry value", kViewerDescriptor, "Zoom=100%", "Zoom=%Zoom%", false,
     "produkt/viewer/ver.ini", "registry", "%userReg%\\Ansicht\\Zoom", 15, "%Zoom% is not a placeholder"},
    {"link to a file nobody installs", kSettings, "VIEWER\\app.exe", "VIEWER\\app2.exe", false,
     "produkt/uninst/install.ini", "links", "%menudir%Quotaline\\App", 13, "no component installs the target"},
    {"misspelt section beside the real one", kViewerDescriptor, "", "[regsitry]\r\n", false, "produkt/viewer/ver.ini",
     "regsitry", "", 24, "never reads this section (did you mean \"registry\"?)"},
    {"misspelt key", kSettings, "UninstTitle", "UninstTitel", false, "produkt/uninst/install.ini", "install",
     "UninstTitel", 6, "never reads this key (did you mean \"UninstTitle\"?)"},
    {"INI line without its entries", kViewerDescriptor, "[AddIni1]\r\nDataPath=%installDir%daten\r\n", "", false,
     "produkt/viewer/ver.ini", "ini", "1", 17, "there is no section [AddIni1]"},
    {"two components, one target", kUninstDescriptor, "", "%thisDir%uninst.ini=%installDir%viewer\\App.exe\r\n", false,
     "produkt/viewer/ver.ini", "copy", "%thisDir%app.exe", 7,
     "the component produkt/uninst copies to the same target (line 5"},
    {"a second program line", kSettings, "[groups]", "%installDir%b.exe=\r\n[groups]", false,
     "produkt/uninst/install.ini", "RunProg", "%installDir%b.exe", 9, "only the first line of [RunProg] is read"},
    {"a key written twice", kSettings, "[Base]", "[Base]\r\nname=uninst", false, "produkt/uninst/install.ini", "Base",
     "Name", 18, "the key is written twice"},
    {"a line before the first section", kViewerDescriptor, "[component]", "name=vorne\r\n[component]", false,
     "produkt/viewer/ver.ini", "", "name", 1, "stands before any section"},
};

TEST(ProductChecks, CleanProductHasNoFinding) {
  Product product;
  const Findings findings = CheckProduct(product.Components);
  for (const Finding& finding : findings.List()) ADD_FAILURE() << FormatFinding(finding);
}

TEST(ProductChecks, EachMistakeGivesItsOneFinding) {
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.Name);
    Product product;
    std::string& text = product.At(test.In);
    if (*test.From) {
      const size_t at = text.find(test.From);
      ASSERT_NE(at, std::string::npos);
      text.replace(at, std::string(test.From).size(), test.To);
    } else {
      text += test.To;
    }
    const Findings findings = CheckProduct(product.Components);
    ASSERT_EQ(findings.List().size(), 1u) << (findings.List().empty() ? "" : FormatFinding(findings.List().back()));
    const Finding& finding = findings.List()[0];
    EXPECT_EQ(finding.Error, test.Error);
    EXPECT_EQ(findings.HasErrors(), test.Error);
    EXPECT_EQ(finding.Where.File, test.File);
    EXPECT_EQ(finding.Where.Section, test.Section);
    EXPECT_EQ(finding.Where.Key, test.Key);
    EXPECT_EQ(finding.Where.Line, test.Line);
    EXPECT_NE(finding.Message.find(test.Message), std::string::npos) << finding.Message;
  }
}

// "." and ".." count as the file system resolves them, with "\" and "/" and
// repeated separators; only climbing above the placeholder's folder is an error.
TEST(ProductChecks, CopyPathClimbingOutOfItsFolderIsAnError) {
  Product product;
  std::string& text = product.At(kViewerDescriptor);
  text.insert(text.find("[register]"),
              "%thisDir%ver.ini=%installDir%..\\..\\victim\\evil.txt\r\n"
              "%thisDir%.\\ver.ini=%installDir%viewer//..\\/../evil.txt\r\n"
              "%thisDir%lib/../ver.ini=%commonFilesDir%.\\..\\evil.txt\r\n"
              "%thisDir%lib\\.\\..\\app.exe=%installDir%viewer\\..\\daten\\app.exe\r\n"
              "%thisDir%/app.exe=%installDir%a\\b\\..\\..\\app.exe\r\n"
              "%thisDir%lib\\..\\ver.ini=C:\\..\\app.exe\r\n"
              "%thisDir%..\\uninst\\install.ini=%installDir%kopie.ini\r\n"
              "%thisDir%lib\\..\\..\\viewer\\app.exe=%tempDir%..\r\n");
  const Findings findings = CheckProduct(product.Components);
  std::vector<std::string> lines;
  for (const Finding& finding : findings.List()) lines.push_back(FormatFinding(finding));
  const std::string at = "produkt/viewer/ver.ini:copy:";
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          at + "%thisDir%ver.ini: error: the target \"%installDir%..\\..\\victim\\evil.txt\" leaves the folder of "
               "%installDir% through \"..\" (line 9)",
          at + "%thisDir%.\\ver.ini: error: the target \"%installDir%viewer//..\\/../evil.txt\" leaves the folder of "
               "%installDir% through \"..\" (line 10)",
          at + "%thisDir%lib/../ver.ini: error: the target \"%commonFilesDir%.\\..\\evil.txt\" leaves the folder of "
               "%commonFilesDir% through \"..\" (line 11)",
          at + "%thisDir%..\\uninst\\install.ini: error: the source \"%thisDir%..\\uninst\\install.ini\" leaves the "
               "folder "
               "of %thisDir% through \"..\" (line 15)",
          at + "%thisDir%lib\\..\\..\\viewer\\app.exe: error: the source \"%thisDir%lib\\..\\..\\viewer\\app.exe\" "
               "leaves "
               "the folder of %thisDir% through \"..\" (line 16)",
          at +
              "%thisDir%lib\\..\\..\\viewer\\app.exe: error: the target \"%tempDir%..\" leaves the folder of %tempDir% "
              "through \"..\" (line 16)",
      }));
}

// Names the system keeps for devices, with any extension, in any folder.
TEST(ProductChecks, MembersNamedAsDevicesAreErrors) {
  for (const char* member : {"CON.txt", "hilfe\\aux", "tief\\LPT1.log\\x.txt"}) {
    Product product;
    product.Components[1].Members.push_back(member);
    const Findings findings = CheckProduct(product.Components);
    ASSERT_EQ(findings.List().size(), 1u) << member;
    EXPECT_TRUE(findings.HasErrors());
    EXPECT_NE(findings.List()[0].Message.find("which Windows keeps for a device"), std::string::npos) << member;
  }
}

// Without [install], the product would be the default one; a misspelt
// [install] is told as such.
TEST(ProductChecks, SettingsWithoutInstallSectionAreAnError) {
  const std::string missing =
      "produkt/uninst/install.ini::: error: no [install] section: the product would be "
      "installed as \"Quotaline\" into its folder";
  for (const char* section : {"[setup]", "[instal]"}) {
    Product product;
    std::string& text = product.At(kSettings);
    text.replace(text.find("[install]"), 9, section);
    const Findings findings = CheckProduct(product.Components);
    std::vector<std::string> lines;
    for (const Finding& finding : findings.List()) lines.push_back(FormatFinding(finding));
    const bool told = std::find(lines.begin(), lines.end(), missing) != lines.end();
    EXPECT_EQ(told, std::string(section) == "[setup]") << section;
    EXPECT_TRUE(findings.HasErrors()) << section;
  }
}

TEST(ProductChecks, WithoutInstallSettingsOnlyThatIsReported) {
  Product product;
  product.Components[0].HasInstallSettings = false;
  const Findings findings = CheckProduct(product.Components);
  ASSERT_EQ(findings.List().size(), 1u);
  EXPECT_EQ(FormatFinding(findings.List()[0]),
            "uninst/install.ini::: error: no component holds it; the installer cannot start without it");
}

TEST(ProductChecks, FindingLineNamesFileSectionKeyAndLine) {
  Product product;
  std::string& text = product.At(kViewerDescriptor);
  text.replace(text.find("=%commonFilesDir%"), 17, "=%common%");
  const Findings findings = CheckProduct(product.Components);
  ASSERT_EQ(findings.List().size(), 2u);  // the target's placeholder, and the [shared] file not copied
  EXPECT_EQ(FormatFinding(findings.List()[0]),
            "produkt/viewer/ver.ini:copy:%THISDIR%\\lib\\gr\xc3\xb6\xc3\x9f"
            "e.dll: error: %common% is not a "
            "placeholder the installer knows; it stays as written (line 8)");
}

}  // namespace
