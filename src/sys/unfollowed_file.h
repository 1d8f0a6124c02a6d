// Deleting a file or folder, and making a file ready to be written, without
// following a link: what the path names is opened as it stands (a link as
// the link), asked where it really lies, and deleted through that same
// handle, so that nothing swapped in between the check and the deletion is
// hit.
#pragma once

#include <functional>
#include <string>

enum class Unfollowed { Done, Missing, Refused, Failed };

// Deletes the file at path (with folder, the empty folder), the link itself
// where path is one, when the opened object really lies at path (no folder
// on the way led elsewhere) and allowed(), asked once it is open, agrees.
// Failed leaves the system's error code as the last error.
Unfollowed DeleteUnfollowed(const std::string& path, bool folder, const std::function<bool()>& allowed);
// The same for a file or empty folder the run made itself, which no boundary
// needs to allow: a half-written copy, a staged record, its own working folder.
Unfollowed DeleteOwnUnfollowed(const std::string& path, bool folder);

// Whether a write to path writes a file of its own, so that what other names
// lead to stays as it is: path's own folder is no link, and a link, or a
// file with other hard links, at path is removed first with replaceShared
// (the write makes a new file), else it is refused. False when such a file
// is there and not removed.
bool UnsharedForWriting(const std::string& path, bool replaceShared);
