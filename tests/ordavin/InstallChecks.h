// What an installation leaves on disk, in the registry, in the shortcut and
// in the log, read back the same way by the tests that run it in-process
// and by those that drive the real program.
#pragma once

#include "CatalogueFixture.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <set>

inline bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value below the profile root; "<absent>" when it cannot be read.
inline std::string ProfileValue(const std::string& section, const char* name)
{
    std::string value = "<absent>";
    reg::GetString(HKEY_CURRENT_USER, PROFILE_ROOT "\\" + section, name, &value);
    return value;
}

using testenv::ListTree;

inline std::string Slurp(const std::string& path)
{
    std::string data;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got)
        data.append(buf, got);
    ::CloseHandle(h);
    return data;
}

// The log's lines, CR LF removed, digits of the header shown as '#'. Fails
// the test on a line that does not end in CR LF.
inline std::vector<std::string> LogLines(const std::string& data)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = data.find("\r\n", start)) != std::string::npos; start = nl + 2) {
        std::string line = data.substr(start, nl - start);
        if (line.compare(0, 3, "***") == 0)
            std::replace_if(line.begin(), line.end(), ::isdigit, '#');
        lines.push_back(line);
    }
    EXPECT_EQ(data.size(), start) << "a line without CR LF";
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), std::count(data.begin(), data.end(), '\r'));
    return lines;
}

// A shortcut file as the shell link object loads it; empty when it cannot.
// The thread must have initialised COM.
struct ShortcutSeen {
    std::string target, icon;
    int nIcon = -1;
};

inline ShortcutSeen ReadShortcut(const std::string& path)
{
    ShortcutSeen result;
    IShellLinkA* pLink = nullptr;
    IPersistFile* pFile = nullptr;
    WCHAR wsz[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wsz, MAX_PATH);
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&pLink))) &&
        SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
        SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
        char sz[MAX_PATH] = "";
        pLink->GetPath(sz, MAX_PATH, nullptr, SLGP_RAWPATH);
        result.target = sz;
        pLink->GetIconLocation(sz, MAX_PATH, &result.nIcon);
        result.icon = sz;
    }
    if (pFile)
        pFile->Release();
    if (pLink)
        pLink->Release();
    return result;
}
