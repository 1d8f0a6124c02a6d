// Fuzz target: the descriptor checks over arbitrary ver.ini and install.ini
// texts (the input split at its first NUL); every finding formats, nothing crashes.
#include "checks/product_checks.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = AsText(data, size);
  const size_t split = input.find('\0');
  ComponentFiles uninst, viewer;
  uninst.Folder = "uninst";
  uninst.Members = {"install.ini", "ver.ini", "a.dll"};
  uninst.HasInstallSettings = true;
  uninst.InstallSettings = split == std::string::npos ? std::string() : input.substr(split + 1);
  uninst.Descriptor = "[copy]\r\n%thisDir%install.ini=%installDir%uninst\\install.ini\r\n";
  viewer.Folder = "viewer";
  viewer.Members = {"ver.ini", "a.dll"};
  viewer.Descriptor = input.substr(0, split);
  const Findings findings = CheckProduct({uninst, viewer});
  for (const Finding& finding : findings.List()) (void)FormatFinding(finding);
  return 0;
}
