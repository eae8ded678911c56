#include "TestEnv.h"

#include <windows.h>

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

// Deletes below a "\\?\" path, so that paths of MAX_PATH characters and
// more (which the A functions and the shell refuse) go too.
static void RemoveTreeW(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    HANDLE hFind = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeW(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(hFind, &fd));
        ::FindClose(hFind);
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

void RemoveTree(const std::string& path)
{
    if (path.size() < 3)
        return;   // never a drive root
    std::wstring wide(path.size(), L'\0');
    int n = ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                                  static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    while (!wide.empty() && wide.back() == L'\\')
        wide.pop_back();
    std::wstring full = L"\\\\?\\" + wide;
    DWORD dwAttributes = ::GetFileAttributesW(full.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeW(full);
    } else {
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(full.c_str());
    }
}

}  // namespace testenv
