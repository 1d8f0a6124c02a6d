// The lists of rights the installer gives the folders it makes for an
// elevated run, as security descriptors the system applies when a folder is
// created or set on an existing one.
#pragma once

#include <windows.h>

#include <string>

enum class FolderRights {
  // Administrators and the system full control, nobody else anything: the
  // working folder of an elevated run.
  AdministratorsOnly,
  // As Program Files: administrators and the system full control, users
  // read and execute: an installation folder.
  ProgramFolder,
};

// A protected list of rights (nothing inherited from above) that everything
// below the folder inherits.
class FolderSecurity {
 public:
  explicit FolderSecurity(FolderRights rights);
  ~FolderSecurity();
  FolderSecurity(const FolderSecurity&) = delete;
  FolderSecurity& operator=(const FolderSecurity&) = delete;

  // Null where the system keeps no lists of rights (Windows 9x) or the
  // descriptor could not be built.
  PSECURITY_DESCRIPTOR Descriptor() const { return descriptor_; }
  // For CreateDirectory; null without a descriptor.
  SECURITY_ATTRIBUTES* Attributes();
  // Sets the list on an existing folder, replacing what it inherited.
  bool ApplyTo(const std::string& folder) const;

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_ = {};
};

// Whether someone besides the administrators, the system and the running
// account may change the file or folder: its list of rights lets a group of
// users or another account write, take or delete it, or another account
// owns it. False where the system keeps no lists of rights.
bool OthersMayChange(const std::string& path);
