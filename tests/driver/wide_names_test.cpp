// A user whose name has a letter Windows-1252 lacks (Ayşe): her temporary,
// desktop and programs folders carry it, and she names such a folder to
// install into. The demo installs there and into those very folders, never
// into a look-alike, and goes again leaving nothing; a folder that cannot be
// reached ends the run before anything is changed.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "driver/driver_test.h"
#include "support/registry_probe.h"
#include "sys/wide_text.h"

namespace {

const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kAyse = L"Ay\u015Fe";

// A value of the user's shell folder keys, as it was before the test.
struct SavedValue {
  SavedValue(const wchar_t* key, const wchar_t* name) : Key(key), Name(name) {}
  const wchar_t* Key;
  const wchar_t* Name;
  DWORD Type = 0;
  std::vector<BYTE> Data;
  bool Existed = false;
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CountLinks(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"*.lnk").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileW(search, &entry));
  FindClose(search);
  return count;
}

class WideNames : public EndToEnd {
 protected:
  std::wstring user;  // her profile's folders live here
  std::vector<SavedValue> saved = {{kUserShellFolders, L"Desktop"},
                                   {kUserShellFolders, L"Programs"},
                                   {kShellFolders, L"Desktop"},
                                   {kShellFolders, L"Programs"}};

  void SetUp() override {
    EndToEnd::SetUp();
    user = AnsiToWide(folder) + kAyse + L"\\";
    for (const wchar_t* part : {L"", L"Temp", L"Desktop", L"Programme"})
      CreateDirectoryW((user + part).c_str(), nullptr);
    for (SavedValue& value : saved) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, value.Key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
      DWORD size = 0;
      value.Existed = RegQueryValueExW(key, value.Name, nullptr, &value.Type, nullptr, &size) == ERROR_SUCCESS;
      value.Data.resize(size);
      if (value.Existed) RegQueryValueExW(key, value.Name, nullptr, &value.Type, value.Data.data(), &size);
      const std::wstring path = user + (value.Name[0] == L'D' ? L"Desktop" : L"Programme");
      RegSetValueExW(key, value.Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
    UseTemp(user + L"Temp");
  }
  void TearDown() override {
    for (const SavedValue& value : saved) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, value.Key, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
      if (value.Existed)
        RegSetValueExW(key, value.Name, 0, value.Type, value.Data.data(), static_cast<DWORD>(value.Data.size()));
      else
        RegDeleteValueW(key, value.Name);
      RegCloseKey(key);
    }
    RegDeleteEntry("HKEY_LOCAL_MACHINE\\Software", "Zelo", true);
    RegDeleteEntry("HKEY_CURRENT_USER\\Software", "Zelo", true);
    RegDeleteEntry(kUninstallKeys, "Quotaline", true);
    EndToEnd::TearDown();
  }
  static void UseTemp(const std::wstring& temp) {
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"TMP", temp.c_str());
  }
  std::wstring PackDemo() {
    installer = folder + "demo.exe";
    std::string output;
    EXPECT_EQ(RunProgram("\"" + WindowsPath(ZQ_ZQPACK) + "\" --image \"" + WindowsPath(ZQ_IMAGE) + "\" --library \"" +
                             WindowsPath(ZQ_UNZLIB) + "\" --output \"" + installer + "\" \"" + WindowsPath(ZQ_DEMO) +
                             "\\uninst\" \"" + WindowsPath(ZQ_DEMO) + "\\viewer\"",
                         &output),
              0)
        << output;
    return L"\"" + AnsiToWide(installer) + L"\" -hide";
  }
};

TEST_F(WideNames, TheDemoInstallsIntoHerFoldersByTheirShortNamesAndLeavesNothing) {
  const std::wstring setup = PackDemo();
  const std::wstring parent = AnsiToWide(folder) + L"Zi\u0142 " + kAyse, chosen = parent + L"\\Quotaline";
  std::string output;
  ASSERT_EQ(RunProgram(setup + L" \"-path:" + chosen + L"\"", &output), 0) << output;

  // Into the folder named, created under its full name; not into its look-alike.
  EXPECT_TRUE(Exists(chosen + L"\\viewer\\quotaline.exe"));
  EXPECT_FALSE(FolderExists(folder + "Zil Ayse"));
  EXPECT_EQ(CountLinks(user + L"Desktop\\"), 1);
  EXPECT_EQ(CountLinks(user + L"Programme\\Quotaline\\"), 2);
  const std::string entry = std::string(kUninstallKeys) + "\\Quotaline";
  const std::string location = RegistryText(entry, "InstallLocation");
  EXPECT_EQ(location.find('?'), std::string::npos) << location;
  // The log names each folder reached by its short name.
  const std::string log = ReadTextFile(location + "uninst\\zqinstall.log");
  for (const std::string& full : {folder + "Ay?e\\Temp\\", folder + "Ay?e\\Desktop\\", folder + "Ay?e\\Programme\\"})
    EXPECT_NE(log.find("Verzeichnis " + full + " über seinen Kurznamen: "), std::string::npos) << full << "\n" << log;
  EXPECT_NE(log.find("Installationsverzeichnis " + folder + "Zi? Ay?e\\Quotaline\\ über seinen Kurznamen: " + location),
            std::string::npos)
      << log;

  // Uninstalled through the entry and cleared up: nothing of it is left.
  ASSERT_EQ(RunProgram(RegistryText(entry, "QuietUninstallString"), &output), 0) << output;
  std::string windows(MAX_PATH, '\0');
  windows.resize(GetWindowsDirectoryA(&windows[0], MAX_PATH));
  ASSERT_EQ(RunProgram("\"" + windows + "\\zquninst\\Quotaline\\zquninst.exe\" -clearup -hide", &output), 0) << output;
  EXPECT_FALSE(Exists(parent));
  EXPECT_EQ(CountLinks(user + L"Desktop\\"), 0);
  EXPECT_FALSE(Exists(user + L"Programme\\Quotaline"));
  EXPECT_FALSE(RegistryKeyExists(entry));
  EXPECT_FALSE(RegistryKeyExists("HKEY_LOCAL_MACHINE\\Software\\Zelo"));
  EXPECT_FALSE(RegistryKeyExists("HKEY_CURRENT_USER\\Software\\Zelo"));
}

TEST_F(WideNames, AFolderWithoutAShortNameEndsTheRunBeforeAnythingChanges) {
  const std::wstring setup = PackDemo();
  // A folder with a lacking letter that is not there has no short name either.
  UseTemp(AnsiToWide(folder) + L"G\u00FCl\u015Fen\\Temp");
  const std::string target = folder + "Ziel\\";
  std::string output;
  EXPECT_EQ(RunProgram(setup + L" \"-path:" + AnsiToWide(target) + L"\"", &output), 33) << output;
  // The log beside the installer names the folder, a "?" for the letter, and what to do.
  const std::string log = ReadTextFile(folder + "zqinstall.log");
  EXPECT_NE(log.find("Fehler:  Das Verzeichnis " + folder + "Gül?en\\Temp\\ hat Zeichen, die der Zeichensatz nicht kennt"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("fsutil file setshortname"), std::string::npos) << log;
  EXPECT_FALSE(FolderExists(target));

  // Reached by its short name, a folder that holds the temporary folder is no installation folder.
  UseTemp(user + L"Temp");
  EXPECT_EQ(RunProgram(setup + L" \"-path:" + user + L"\"", &output), 5) << output;
  EXPECT_TRUE(Exists(user + L"Temp"));
  EXPECT_FALSE(RegistryKeyExists(std::string(kUninstallKeys) + "\\Quotaline"));
  EXPECT_FALSE(RegistryKeyExists("HKEY_LOCAL_MACHINE\\Software\\Zelo"));
}

}  // namespace
