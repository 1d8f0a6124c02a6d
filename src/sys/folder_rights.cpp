#include "sys/folder_rights.h"

#include <sddl.h>

#include <vector>

#include "sys/library_proc.h"

namespace {

// In the system's descriptor language: O:BA makes the administrators the
// owner (an owner may always change the list), P protects the list from
// what the parent would pass down, OICI passes every entry on to files and
// folders below; FA is full control, 0x1200a9 read and execute; BA the
// administrators, SY the system, BU the users.
const char* DescriptorText(FolderRights rights) {
  switch (rights) {
    case FolderRights::ProgramFolder:
      return "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    case FolderRights::AdministratorsOnly:
    default:
      return "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
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

namespace {

constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                      FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                      GENERIC_ALL;

// The running account's own identity, the one an administrator's run shares
// with nobody it does not trust.
class OwnAccount {
 public:
  OwnAccount() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD length = sizeof buffer_;
    if (GetTokenInformation(token, TokenUser, buffer_, length, &length))
      sid_ = reinterpret_cast<TOKEN_USER*>(buffer_)->User.Sid;
    CloseHandle(token);
  }
  PSID Sid() const { return sid_; }

 private:
  alignas(TOKEN_USER) BYTE buffer_[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)] = {};
  PSID sid_ = nullptr;
};

// The administrators, the system, the installer service and the placeholder
// that only hands rights down to a creator.
bool Trusted(PSID sid, const OwnAccount& own) {
  static const WELL_KNOWN_SID_TYPE kTrusted[] = {WinBuiltinAdministratorsSid, WinLocalSystemSid, WinCreatorOwnerSid,
                                                 WinCreatorGroupSid};
  for (WELL_KNOWN_SID_TYPE type : kTrusted)
    if (IsWellKnownSid(sid, type)) return true;
  PSID installer = nullptr;
  if (ConvertStringSidToSidA("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", &installer)) {
    const bool same = EqualSid(sid, installer) != FALSE;
    LocalFree(installer);
    if (same) return true;
  }
  return own.Sid() && EqualSid(sid, own.Sid());
}

// Entries that take rights away or only audit: they open nothing.
bool Denying(BYTE type) {
  switch (type) {
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
    case SYSTEM_AUDIT_ACE_TYPE:
    case SYSTEM_ALARM_ACE_TYPE:
    case SYSTEM_MANDATORY_LABEL_ACE_TYPE:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool OthersMayChange(const std::string& path) {
  DWORD length = 0;
  const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  GetFileSecurityA(path.c_str(), wanted, nullptr, 0, &length);
  if (length == 0) return false;  // no lists of rights here
  std::vector<BYTE> descriptor(length);
  // A list that cannot be read cannot be trusted.
  if (!GetFileSecurityA(path.c_str(), wanted, descriptor.data(), length, &length)) return true;
  const OwnAccount own;
  PSID owner = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  if (GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) && owner && !Trusted(owner, own)) return true;
  PACL list = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted)) return true;
  if (present && !list) return true;  // no list: everybody may do anything
  for (DWORD i = 0; list && i < list->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(list, i, &entry)) continue;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    const BYTE type = allowed->Header.AceType;
    if (Denying(type) || (allowed->Header.AceFlags & INHERIT_ONLY_ACE) || !(allowed->Mask & kChangeRights)) continue;
    // An allowing entry of another layout (object, conditional) is not read: it counts as open.
    if (type != ACCESS_ALLOWED_ACE_TYPE && type != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) return true;
    if (!Trusted(const_cast<DWORD*>(&allowed->SidStart), own)) return true;
  }
  return false;
}

FolderSecurity::~FolderSecurity() {
  if (descriptor_) LocalFree(descriptor_);
}

SECURITY_ATTRIBUTES* FolderSecurity::Attributes() { return descriptor_ ? &attributes_ : nullptr; }

bool FolderSecurity::ApplyTo(const std::string& folder) const {
  if (!descriptor_) return false;
  // Protected: the folder no longer takes what its parent passes down; and
  // whoever owned it can no longer change the list.
  return SetFileSecurityA(folder.c_str(),
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                          descriptor_) != FALSE;
}
