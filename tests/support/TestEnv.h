// Where the test fixture put things (see tests/env/setup.sh).
#pragma once

#include <string>

namespace testenv {

// A folder of the fixture (such as "cd-d", "cd-e", "share"), as a Windows
// path through drive Z: (the host's root). Empty outside the fixture.
std::string HostFolder(const char* pszName);
// A host path (such as a file of the build tree) as a Windows path through Z:.
std::string HostPath(const char* pszUnixPath);

// Creates a file of nBytes bytes (and its folders); true on success.
bool MakeFile(const std::string& path, unsigned nBytes = 16);
// Deletes a file, or a folder with everything below it; paths below it may
// be MAX_PATH characters and longer.
void RemoveTree(const std::string& path);

}  // namespace testenv
