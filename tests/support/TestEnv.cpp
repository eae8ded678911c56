#include "TestEnv.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <vector>

namespace testenv {

std::string HostFolder(const char* pszName)
{
    const char* pszDir = std::getenv("ZORVALIA_TEST_DIR");
    if (!pszDir || !*pszDir)
        return std::string();
    std::string path = std::string("Z:") + pszDir + "/" + pszName;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string HostPath(const char* pszUnixPath)
{
    std::string path = std::string("Z:") + pszUnixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static void MakeParents(const std::string& path)
{
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

bool MakeFile(const std::string& path, unsigned nBytes)
{
    MakeParents(path);
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> data(nBytes, 'x');
    DWORD written = 0;
    BOOL ok = nBytes == 0 || ::WriteFile(h, data.data(), nBytes, &written, nullptr);
    ::CloseHandle(h);
    return ok && written == nBytes;
}

void RemoveTree(const std::string& path)
{
    std::string from = path;
    from.push_back('\0');   // the list ends with two zeros
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

}  // namespace testenv
