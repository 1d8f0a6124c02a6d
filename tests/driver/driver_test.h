// The frame of the tests that pack installers around a program image (the
// installer's own, or the console driver) and run them as a user starts them: the product's scratch folders, the build
// with zqpack, the run, and readers for the driver's output and the logs.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "support/paths.h"
#include "support/process.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/text.h"

constexpr char kProductKey[] = "HKEY_LOCAL_MACHINE\\Software\\ZqDriverTest\\ZqEndeTest";
constexpr char kUninstallKeys[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The pieces between the endings; a text that ends with one ends with an empty piece.
inline std::vector<std::string> Lines(const std::string& text, const char* ending) {
  std::vector<std::string> lines;
  const std::string separator = ending;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + separator.size())
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// The value after "title: " in the driver's output, or the entries of the list "title:".
inline std::string Field(const std::string& output, const std::string& title) {
  for (const std::string& line : Lines(output, "\n"))
    if (line.rfind(title + ": ", 0) == 0) return Trim(line.substr(title.size() + 2));
  return "<missing>";
}

inline std::vector<std::string> List(const std::string& output, const std::string& title) {
  std::vector<std::string> entries;
  bool inList = false;
  for (const std::string& line : Lines(output, "\n")) {
    if (inList && line.rfind("  ", 0) != 0) break;
    if (inList) entries.push_back(Trim(line));
    if (Trim(line) == title + ":") inList = true;
  }
  return entries;
}

// The working folder of the last installation a log tells of (the folder it
// wrote the uninstaller image into), with a trailing backslash; empty when
// none wrote one.
inline std::string WorkFolderInLog(const std::string& log) {
  const std::string written = "Erzeuge Datei:      ";
  std::string folder;
  for (const std::string& line : Lines(log, "\r\n"))
    if (line.rfind(written, 0) == 0 && LowerAscii(line).find("\\zquninst.exe") != std::string::npos)
      folder = line.substr(written.size(), line.size() - written.size() - 12);
  return folder;
}

class EndToEnd : public ::testing::Test {
 protected:
  std::string folder;  // the installer's own folder
  std::string temp;    // the temporary folder the installer sees
  std::string target;  // the installation folder of install.ini
  std::string installer;
  std::string components;

  void SetUp() override {
    folder = FreshScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    temp = folder + "Temp\\";
    target = folder + "Ziel\\";
    ForceFolders(temp);
    SetEnvironmentVariableA("TMP", temp.c_str());
    SetEnvironmentVariableA("TEMP", temp.c_str());
    ForgetProduct();
  }
  void TearDown() override {
    ForgetProduct();
    SetEnvironmentVariableA("ZQ_DRIVER_OPERATION", nullptr);
  }
  static void ForgetProduct() {
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "ZqDriverTest", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "ZqDriverTest", true);
    RegDeleteEntry(kUninstallKeys, "ZqEndeTest", true);
  }

  // Writes the two component folders and packs them around the image;
  // uninstCopy and viewerCopy are [copy] lines of the two descriptors.
  void Build(const std::string& installExtra = "", const std::string& uninstCopy = "",
             const std::string& viewerCopy = "") {
    components = folder + "Komponenten\\";
    ForceFolders(components + "uninst");
    ForceFolders(components + "viewer\\hilfe");
    WriteTextFile(components + "uninst\\install.ini",
                  "[install]\r\nname=ZqEndeTest\r\nRegRoot=ZqDriverTest\r\ndefaultDir=" + target +
                      "\r\nDeleteShared=1\r\n" + installExtra + "[close]\r\nTViewer=Quotaline Viewer\r\n");
    WriteTextFile(components + "uninst\\ver.ini", "[component]\r\nname=uninst\r\n" + uninstCopy);
    WriteTextFile(components + "viewer\\ver.ini", "[component]\r\nname=viewer\r\n" + viewerCopy);
    WriteTextFile(components + "viewer\\hilfe\\Übersicht.txt", "Hilfe");
    installer = folder + "setup.exe";
    std::string output;
    // The fixtures are partial products made to drive the installer; zqpack's
    // checks of a publisher's components have tests of their own.
    ASSERT_EQ(RunProgram("\"" + WindowsPath(ZQ_ZQPACK) + "\" --no-check --image \"" + WindowsPath(ZQ_IMAGE) +
                             "\" --library \"" + WindowsPath(ZQ_UNZLIB) + "\" --output \"" + installer + "\" \"" +
                             components + "uninst\" \"" + components + "viewer\"",
                         &output),
              0)
        << output;
  }
  int Run(const std::string& arguments, std::string& output) const {
    return RunProgram("\"" + installer + "\" " + arguments, &output);
  }
  std::string Log(const std::string& logFolder, const char* name) const { return ReadTextFile(logFolder + name); }
  // The length of a component file, as the extraction lines give it.
  std::string Size(const std::string& file) const { return std::to_string(ReadTextFile(components + file).size()); }
};

// The log's lines, with the time stamp and the elapsed time made fixed.
inline std::vector<std::string> Normalised(const std::string& log) {
  std::vector<std::string> lines = Lines(log, "\r\n");
  for (std::string& line : lines) {
    line = std::regex_replace(line, std::regex(R"(\d\d?\.\d\d?\.\d{4} \d\d?:\d\d:\d\d)"), "<zeit>");
    line = std::regex_replace(line, std::regex(R"(^Time to (write|init|install): \d+ ms$)"), "Time to $1: <n> ms");
  }
  return lines;
}
