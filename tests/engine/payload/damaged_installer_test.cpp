// Installers damaged after they were built, as a broken download leaves
// them: cut short, or with one byte changed, at offsets spread over the
// unzip library, the size table and the archives. Each run of the real
// installer with -hide ends in time with a failure exit code and changes
// nothing on the machine: no installation folder, no product key, no
// "InstallInfo", and an empty working folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>

#include "archive/payload_layout.h"
#include "driver/driver_test.h"
#include "support/registry_probe.h"

namespace {

constexpr int kOffsets = 50;
constexpr DWORD kBoundMs = 30000;
constexpr size_t kTrailerSize = 16;

class DamagedInstaller : public EndToEnd {
 protected:
  std::string packed;  // the sound installer's bytes

  void SetUp() override {
    EndToEnd::SetUp();
    // A product whose archive holds 300 KB that do not compress, so that
    // most offsets fall into the archives.
    const std::string viewer = folder + "Komponenten\\viewer\\";
    ForceFolders(viewer);
    std::string data(300000, '\0');
    uint32_t state = 12345;
    for (char& byte : data) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    WriteTextFile(viewer + "daten.txt", data);
    Build("", "", "[copy]\r\n%thisDir%daten.txt=%installdir%viewer\\daten.txt\r\n");
    packed = ReadTextFile(installer);
  }
  // Runs the damaged bytes as the installer; returns its exit code and
  // records every trace it left on the machine.
  int RunDamaged(const std::string& bytes, std::vector<std::string>& traces) {
    WriteBinary(installer, bytes);
    std::string output;
    const int exitCode = RunProgram("\"" + installer + "\" -hide", &output, kBoundMs);
    if (FolderExists(target)) traces.push_back("installation folder");
    if (RegistryKeyExists(kProductKey)) traces.push_back("product key");
    if (RegistryText(kProductKey, "InstallInfo") != "<none>") traces.push_back("InstallInfo");
    const std::string work = WorkFolderInLog(Log(folder, "zqinstall.log"));
    if (!work.empty() && FolderExists(work)) traces.push_back("working folder: " + work);
    ForgetProduct();
    return exitCode;
  }
  static void WriteBinary(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  // The offsets, evenly spread from the library's start to the trailer's.
  std::vector<size_t> Offsets() const {
    const size_t first = kLibraryOffset, end = packed.size() - kTrailerSize;
    std::vector<size_t> offsets;
    for (int i = 0; i < kOffsets; ++i) offsets.push_back(first + (end - first) * i / kOffsets);
    return offsets;
  }
  static void Print(const char* damage, const std::map<int, int>& exitCodes) {
    std::printf("%s: %d runs, exit codes:", damage, kOffsets);
    for (const auto& [code, count] : exitCodes) std::printf(" %d x%d", code, count);
    std::printf("\n");
  }
};

TEST_F(DamagedInstaller, CutShortOrChangedItFailsAndChangesNothing) {
  ASSERT_GT(packed.size(), kLibraryOffset + 400000u);
  std::map<int, int> cut, changed;
  for (size_t offset : Offsets()) {
    std::vector<std::string> traces;
    const int exitCode = RunDamaged(packed.substr(0, offset), traces);
    ++cut[exitCode];
    EXPECT_GT(exitCode, 0) << "cut at " << offset;
    EXPECT_LT(exitCode, 32) << "cut at " << offset;
    EXPECT_TRUE(traces.empty()) << "cut at " << offset << ": " << traces.front();
  }
  for (size_t offset : Offsets()) {
    std::string bytes = packed;
    bytes[offset] = static_cast<char>(bytes[offset] ^ 0x5A);
    std::vector<std::string> traces;
    const int exitCode = RunDamaged(bytes, traces);
    ++changed[exitCode];
    // The integrity check finds every changed byte before anything is loaded.
    EXPECT_EQ(exitCode, 8) << "changed at " << offset;
    EXPECT_TRUE(traces.empty()) << "changed at " << offset << ": " << traces.front();
  }
  Print("cut short", cut);
  Print("one byte changed", changed);
  // The sound installer still installs.
  std::vector<std::string> traces;
  EXPECT_EQ(RunDamaged(packed, traces), 0);
}

}  // namespace
