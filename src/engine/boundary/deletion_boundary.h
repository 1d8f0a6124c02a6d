// Where the deleting operations may delete, decided in one place on paths as
// the system resolves them. The uninstallation deletes the files its record
// lists wherever they lie (shared files, the system folder) but removes
// folders only inside the installation folder; the clear-up stays inside it.
// Neither deletes a drive root or a protected folder of the system, nor
// anything reached through a junction or symbolic link.
#pragma once

#include <string>
#include <vector>

class DeletionBoundary {
 public:
  // protectedFolders: the system's folders that no record may claim.
  DeletionBoundary(const std::string& installDir, const std::vector<std::string>& protectedFolders);

  // Whether the installation folder can be one: a folder below a drive or
  // share root that is neither a protected folder nor above one, and not
  // itself a junction or link.
  bool InstallationFolderAllowed() const;
  // Whether the path is the installation folder or lies inside it.
  bool Inside(const std::string& path) const;
  // Whether the path lies inside the installation folder (and is not it).
  bool Below(const std::string& path) const;
  // Whether the file may be deleted: a full path, not a protected folder,
  // not reached through a reparse point inside the installation folder, and
  // with insideOnly inside that folder.
  bool MayDeleteFile(const std::string& path, bool insideOnly) const;
  // Whether the folder may be removed once empty: neither a root nor a
  // protected folder; inside the installation folder (or the folder itself)
  // not reached through a reparse point, though it may be one: then the link
  // is removed, never what it leads to.
  bool MayRemoveFolder(const std::string& folder) const;
  // Whether a write to path would go through a link: it lies inside the
  // installation folder, and that folder or one between it and path is a
  // junction or link.
  bool ThroughLink(const std::string& path) const;

 private:
  // Whether a resolved path names something at all that is neither a root nor a protected folder.
  bool Deletable(const std::string& resolved) const;
  // Whether a resolved path inside the installation folder may go: the
  // folder is one, and no link leads there.
  bool SafeInside(const std::string& resolved) const;
  // Whether a folder between the installation folder and the resolved path
  // leads elsewhere.
  bool ThroughReparsePoint(const std::string& resolved) const;

  std::string installation_;            // resolved; empty when none was given
  std::vector<std::string> protected_;  // resolved
};
