// Where an elevated run may write a file: never through a link inside the
// installation folder, never into a link or into a file that other names
// share, which would change what those lead to.
#pragma once

#include <string>

class DeletionBoundary;
class TInstallObject;

// How a write treats the file that is there: written anew (a copy, a record,
// a log), or changed in place (an INI edit), which keeps what it holds.
enum class WriteKind { New, InPlace };

// Whether the file at path may be written as a file of its own: no folder
// between the installation folder and it is a link, and its own folder is
// no link. A link or a hard link at path is removed first for a new file,
// so that the write makes a new one; changed in place, it is refused. Logs
// a refusal.
bool WritableTarget(const TInstallObject& object, const DeletionBoundary& boundary, const std::string& path,
                    WriteKind kind);
