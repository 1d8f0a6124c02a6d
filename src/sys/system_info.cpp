#include "sys/system_info.h"

#include <windows.h>

#include "sys/system_error.h"

namespace {

// Closes a handle, frees a SID or local memory when it goes out of scope.
struct HandleGuard {
  HANDLE handle = nullptr;
  ~HandleGuard() {
    if (handle) CloseHandle(handle);
  }
};
struct SidGuard {
  PSID sid = nullptr;
  ~SidGuard() {
    if (sid) FreeSid(sid);
  }
};
struct LocalGuard {
  HLOCAL memory = nullptr;
  ~LocalGuard() {
    if (memory) LocalFree(memory);
  }
};

constexpr DWORD kAccessRead = 1;
constexpr DWORD kAccessWrite = 2;

HANDLE OpenOwnToken() {
  HANDLE token = nullptr;
  const DWORD rights = TOKEN_DUPLICATE | TOKEN_QUERY;
  if (OpenThreadToken(GetCurrentThread(), rights, TRUE, &token)) return token;
  if (GetLastError() != ERROR_NO_TOKEN) ThrowLastError("OpenThreadToken");
  if (!OpenProcessToken(GetCurrentProcess(), rights, &token)) ThrowLastError("OpenProcessToken");
  return token;
}

HLOCAL Allocate(SIZE_T size) {
  HLOCAL memory = LocalAlloc(LPTR, size);
  if (!memory) ThrowLastError("LocalAlloc");
  return memory;
}

}  // namespace

bool IsNT() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;  // the 148-byte record
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsAdmin() {
  HandleGuard token{OpenOwnToken()};
  HandleGuard impersonation;
  if (!DuplicateToken(token.handle, SecurityImpersonation, &impersonation.handle)) ThrowLastError("DuplicateToken");

  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  SidGuard admins;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &admins.sid))
    ThrowLastError("AllocateAndInitializeSid");

  LocalGuard descriptorMemory{Allocate(SECURITY_DESCRIPTOR_MIN_LENGTH)};
  auto descriptor = static_cast<PSECURITY_DESCRIPTOR>(descriptorMemory.memory);
  if (!InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION))
    ThrowLastError("InitializeSecurityDescriptor");

  const DWORD aclSize = GetLengthSid(admins.sid) + 16;  // the list header and one entry header
  LocalGuard aclMemory{Allocate(aclSize)};
  auto acl = static_cast<PACL>(aclMemory.memory);
  if (!InitializeAcl(acl, aclSize, ACL_REVISION2)) ThrowLastError("InitializeAcl");
  if (!AddAccessAllowedAce(acl, ACL_REVISION2, kAccessRead | kAccessWrite, admins.sid))
    ThrowLastError("AddAccessAllowedAce");
  if (!SetSecurityDescriptorDacl(descriptor, TRUE, acl, FALSE)) ThrowLastError("SetSecurityDescriptorDacl");
  SetSecurityDescriptorGroup(descriptor, admins.sid, FALSE);
  SetSecurityDescriptorOwner(descriptor, admins.sid, FALSE);
  if (!IsValidSecurityDescriptor(descriptor)) ThrowLastError("IsValidSecurityDescriptor");

  GENERIC_MAPPING mapping = {kAccessRead, kAccessWrite, 0, kAccessRead | kAccessWrite};
  BYTE privileges[20] = {};
  DWORD privilegesSize = sizeof privileges;
  DWORD granted = 0;
  BOOL status = FALSE;
  if (!AccessCheck(descriptor, impersonation.handle, kAccessRead, &mapping,
                   reinterpret_cast<PPRIVILEGE_SET>(privileges), &privilegesSize, &granted, &status))
    ThrowLastError("AccessCheck");
  return status != FALSE;
}

bool RestartWindows() {
  if (IsNT()) {
    HandleGuard token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token.handle)) return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
    if (!AdjustTokenPrivileges(token.handle, FALSE, &privileges, 0, nullptr, nullptr)) return false;
  }
  return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != FALSE;
}
