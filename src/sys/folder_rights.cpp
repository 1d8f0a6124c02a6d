#include "sys/folder_rights.h"

#include <sddl.h>

#include "sys/library_proc.h"

namespace {

// In the system's descriptor language: P protects the list from what the
// parent would pass down, OICI passes every entry on to files and folders
// below; FA is full control, 0x1200a9 read and execute; BA the
// administrators, SY the system, BU the users.
const char* DescriptorText(FolderRights rights) {
  switch (rights) {
    case FolderRights::ProgramFolder:
      return "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    case FolderRights::AdministratorsOnly:
    default:
      return "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
  }
}

using ConvertProc = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);

}  // namespace

FolderSecurity::FolderSecurity(FolderRights rights) {
  // Looked up at run time: Windows 9x has neither the function nor lists of rights.
  const auto convert = LibraryProc<ConvertProc>(GetModuleHandleA("advapi32.dll"),
                                                "ConvertStringSecurityDescriptorToSecurityDescriptorA");
  if (convert && !convert(DescriptorText(rights), SDDL_REVISION_1, &descriptor_, nullptr)) descriptor_ = nullptr;
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor_;
  attributes_.bInheritHandle = FALSE;
}

FolderSecurity::~FolderSecurity() {
  if (descriptor_) LocalFree(descriptor_);
}

SECURITY_ATTRIBUTES* FolderSecurity::Attributes() { return descriptor_ ? &attributes_ : nullptr; }

bool FolderSecurity::ApplyTo(const std::string& folder) const {
  if (!descriptor_) return false;
  // Protected: the folder no longer takes what its parent passes down.
  return SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                          descriptor_) != FALSE;
}
