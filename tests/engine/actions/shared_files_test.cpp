// Shared-file counters in the prefix's register of shared files: counting up
// with its cap, counting down with and without deletion, what an
// uninstallation may then unregister and delete, and the cap of the maker's
// common files.
#include "engine/actions/shared_files.h"

#include <gtest/gtest.h>

#include "engine/actions/action_test.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/text.h"

namespace {

const char kShared[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

int32_t Count(const std::string& path) {
  int32_t count = 0;
  return RegReadInteger(kShared, path, count) ? count : -1;
}

class SharedFiles : public ActionTest {
 protected:
  // Paths of this test, none of them counted yet.
  std::string File(const std::string& name) {
    const std::string path = folder + name;
    RegDeleteEntry(kShared, path, false);
    created.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string& path : created) RegDeleteEntry(kShared, path, false);
  }
  std::vector<std::string> created;
};

TEST_F(SharedFiles, InstallingCountsUpToThreeOncePerInstallation) {
  const std::string fresh = File("neu.dll"), three = File("drei.dll"), seven = File("sieben.dll"),
                    before = File("vorher.dll");
  RegWriteInteger(kShared, three, 3);
  RegWriteInteger(kShared, seven, 7);
  RegWriteInteger(kShared, before, 1);
  ComponentEntry component;
  component.Shared = {"1=" + fresh, "2=" + three, "3=" + seven, "4=" + before};
  InstallSettings& settings = Install({component});
  // The installation before this one counted vorher.dll already.
  settings.CommonFiles = {LowerAscii(before) + "=installed"};
  EXPECT_EQ(SetSharedComps(*object), 0);
  EXPECT_EQ(Count(fresh), 1);
  EXPECT_EQ(Count(three), 3);
  EXPECT_EQ(Count(seven), 3);
  EXPECT_EQ(Count(before), 1);
  EXPECT_EQ(records, (std::vector<std::string>{"4|" + fresh, "4|" + three, "4|" + seven}));
  EXPECT_TRUE(Logged("Gemeinsame Datei setzen:  " + fresh + "  1"));
  EXPECT_EQ(log.front(), "Setze Gemeinsame Dateien...");
  EXPECT_EQ(progress, 1);
  EXPECT_TRUE(object->Settings->Components[0].Pending.empty());
}

TEST_F(SharedFiles, UninstallingCountsDownAndKeepsWhatIsStillUsed) {
  const std::string last = File("letzter.dll"), used = File("benutzt.dll"), uncounted = File("ohne.dll"),
                    own = File("eigen.exe");
  RegWriteInteger(kShared, last, 1);
  RegWriteInteger(kShared, used, 3);
  UninstallData record;
  record.CommonFiles = {last, used, uncounted};
  record.ComFiles = {used, last, own};
  record.InstalledFiles = {LowerAscii(used), last, uncounted, own};

  // Without DeleteShared every shared file stays, its counter at 0 at least.
  UninstallData keep = record;
  ProcessUninstData(*object, &keep);
  EXPECT_EQ(Count(last), 0);
  EXPECT_EQ(Count(used), 2);
  EXPECT_EQ(keep.ComFiles, (std::vector<std::string>{own}));
  EXPECT_EQ(keep.InstalledFiles, (std::vector<std::string>{own}));
  EXPECT_TRUE(Logged("Gemeinsame Datei zurücksetzen:  " + last + "  0"));
  EXPECT_EQ(progress, 1);

  // With DeleteShared a file whose count reaches 0 goes, counter and all; one
  // without a counter is nobody else's either.
  RegWriteInteger(kShared, last, 1);
  record.DeleteShared = true;
  records.clear();
  ProcessUninstData(*object, &record);
  EXPECT_EQ(Count(last), -1);
  EXPECT_EQ(Count(used), 1);
  EXPECT_EQ(record.ComFiles, (std::vector<std::string>{last, own}));
  EXPECT_EQ(record.InstalledFiles, (std::vector<std::string>{last, uncounted, own}));
  EXPECT_EQ(records, (std::vector<std::string>{"1|" + last}));

  std::vector<std::string> marked{used, uncounted};
  MarkSharedDeletable(marked, true);
  EXPECT_EQ(marked, (std::vector<std::string>{LowerAscii(used) + "=no", LowerAscii(uncounted) + "=yes"}));

  ProcessUninstData(*object, nullptr);
  EXPECT_EQ(log.back(), "Warnung: Gemeinsame Dateien konnte nicht zurückgesetzt werden.");
}

TEST_F(SharedFiles, TheMakersCommonExecutablesAreCappedAtThree) {
  object->CommonFilesDir = folder;
  const std::string maker = folder + "Verdan Data Works\\";
  ForceFolders(maker + "unter");
  std::vector<std::string> files;
  for (const char* name : {"fuenf.dll", "zwei.dll", "ohne.exe", "acht.ocx", "neun.exe", "unter\\sechs.dll"}) {
    WriteTextFile(maker + name, "x");
    files.push_back(File("Verdan Data Works\\" + std::string(name)));
  }
  for (const auto& [file, count] : {std::pair{0, 5}, {1, 2}, {3, 8}, {4, 9}, {5, 6}})
    RegWriteInteger(kShared, LowerAscii(files[file]), count);
  CapSharedCounts(*object);
  EXPECT_EQ(Count(files[0]), 3);
  EXPECT_EQ(Count(files[1]), 2);
  EXPECT_EQ(Count(files[2]), -1);
  EXPECT_EQ(Count(files[3]), 8);  // not a program or library
  EXPECT_EQ(Count(files[4]), 3);
  EXPECT_EQ(Count(files[5]), 6);  // not directly in the folder
}

}  // namespace
