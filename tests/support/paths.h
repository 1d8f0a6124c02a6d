// Where Windows tests find their fixture programs and keep their files.
#pragma once

#include <string>

// A Unix path of this machine as Wine sees it, on drive Z:.
std::string WindowsPath(const std::string& unixPath);

// The fixture program or library of that name, as a Windows path.
std::string FixturePath(const std::string& name);

// A path in the test's scratch folder (its current folder), created empty.
std::string ScratchPath(const std::string& name);

// A folder in the scratch folder, emptied of what earlier runs left; with a
// trailing backslash.
std::string FreshScratchFolder(const std::string& name);

// Gives the file the write time 2024-05-<dayOfMonth> 10:00 (universal time).
void SetWriteTime(const std::string& path, int dayOfMonth);

bool WriteTextFile(const std::string& path, const std::string& text);
// The file's whole text, or empty when it cannot be read.
std::string ReadTextFile(const std::string& path);
