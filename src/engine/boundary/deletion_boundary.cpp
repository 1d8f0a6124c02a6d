#include "engine/boundary/deletion_boundary.h"

#include "sys/normal_path.h"
#include "sys/resolved_path.h"

DeletionBoundary::DeletionBoundary(const std::string& installDir, const std::vector<std::string>& protectedFolders)
    : installation_(ResolvedPath(installDir)) {
  for (const std::string& folder : protectedFolders) {
    const std::string resolved = ResolvedPath(folder);
    if (!resolved.empty()) protected_.push_back(resolved);
  }
}

bool DeletionBoundary::InstallationFolderAllowed() const {
  if (installation_.empty() || IsRootPath(installation_) || IsReparsePoint(installation_)) return false;
  for (const std::string& folder : protected_)
    if (IsSameOrBelow(folder, installation_)) return false;
  return true;
}

bool DeletionBoundary::Inside(const std::string& path) const {
  return IsSameOrBelow(ResolvedPath(path), installation_);
}

bool DeletionBoundary::Below(const std::string& path) const { return LiesBelow(ResolvedPath(path), installation_); }

bool DeletionBoundary::MayDeleteFile(const std::string& path, bool insideOnly) const {
  const std::string resolved = ResolvedPath(path);
  if (!Deletable(resolved)) return false;
  if (!LiesBelow(resolved, installation_)) return !insideOnly;
  return SafeInside(resolved);
}

bool DeletionBoundary::MayRemoveFolder(const std::string& folder) const {
  const std::string resolved = ResolvedPath(folder);
  if (!Deletable(resolved)) return false;
  if (!IsSameOrBelow(resolved, installation_)) return true;
  return SafeInside(resolved);
}

bool DeletionBoundary::ThroughLink(const std::string& path) const {
  const std::string resolved = ResolvedPath(path);
  if (installation_.empty() || !LiesBelow(resolved, installation_)) return false;
  return IsReparsePoint(installation_) || ThroughReparsePoint(resolved);
}

bool DeletionBoundary::Deletable(const std::string& resolved) const {
  if (resolved.empty() || IsRootPath(resolved)) return false;
  for (const std::string& folder : protected_)
    if (resolved == folder) return false;
  return true;
}

bool DeletionBoundary::SafeInside(const std::string& resolved) const {
  return InstallationFolderAllowed() && !ThroughReparsePoint(resolved);
}

bool DeletionBoundary::ThroughReparsePoint(const std::string& resolved) const {
  // Looked at anew for every path: a folder may be replaced by a link while
  // the user is asked.
  for (std::string folder = NormalPath(resolved + "\\.."); LiesBelow(folder, installation_);
       folder = NormalPath(folder + "\\.."))
    if (IsReparsePoint(folder)) return true;
  return false;
}
