// The install object's side of the trust boundary: which records it acts on,
// and the boundary around the installation folder of the record.
#pragma once

#include <functional>
#include <string>

#include "engine/boundary/deletion_boundary.h"

class TInstallObject;

// Reads the record through read, which receives a copy of it that is
// checked against its seal: -27 when the record is missing, -32 (logged)
// when it is not sealed as it is now, an exception -3.
int ReadSealed(TInstallObject& object, const std::string& path,
               const std::function<int(const std::string& copy)>& read);
// The boundary of the deleting operations around the installation folder.
DeletionBoundary Boundary(const TInstallObject& object);
// Whether the folder may be an installation folder (not a root, not a
// folder of the system or above one, not a link); logs a refusal.
bool AllowedInstallationFolder(const TInstallObject& object, const std::string& folder);
