// A folder of an elevated run's own, which ordinary users can neither change,
// rename nor delete: made new by this process under a name nobody can
// predict, with a protected list of rights, inside a parent where ordinary
// users may create folders of their own but not rename or delete ours.
#pragma once

#include <string>

class PrivateFolder {
 public:
  // Makes the folder inside parent (made too where it is missing); Path() is
  // empty when no new folder could be made.
  explicit PrivateFolder(const std::string& parent);
  // Removes the folder with whatever is still in it.
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  // With a trailing backslash; empty when it could not be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The name prefix of private folders, followed by 16 random hexadecimal digits.
constexpr char kPrivateFolderPrefix[] = "~ql";
