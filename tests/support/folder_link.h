// Folder links for the tests. Wine makes no junction itself (mklink and
// CreateSymbolicLink do nothing here), but it shows a symbolic link of its
// Unix side to a folder as a folder that is a reparse point, as Windows shows
// a junction: the tests make one with the system's ln.
#pragma once

#include <string>

// Makes link lead to the folder target, in place of a link of an earlier
// run; true once the link is there.
bool MakeFolderLink(const std::string& link, const std::string& target);

// Puts a hard link to the file target in place of link (what was there goes);
// true once it is there.
bool MakeHardLink(const std::string& link, const std::string& target);

// Lets every user of the Unix side write the folder, which Wine shows as a
// list of rights that lets everyone change it; true once it shows so.
bool OpenToEveryone(const std::string& folder);

// Removes the link itself (the system's folder deletion would go through it);
// true once it is gone.
bool RemoveFolderLink(const std::string& link);
