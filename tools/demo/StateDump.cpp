#include "StateDump.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <vector>

namespace demo {

namespace {

const char kProfileRoot[] = "Software\\Quendramark\\Texorra 3.0 - Professional";

using Lines = std::vector<std::string>;

void ListFiles(const std::string& folder, const char* pszTag, bool bRecurse, Lines* pLines)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            pLines->push_back(std::string(pszTag) + path + "\\");
            if (bRecurse)
                ListFiles(path, pszTag, bRecurse, pLines);
        } else {
            ULONGLONG size = (static_cast<ULONGLONG>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
            pLines->push_back(std::string(pszTag) + path + " (" + std::to_string(size) + " bytes)");
        }
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
}

// Values are shown by type: strings quoted, numbers in decimal.
void ListRegistry(HKEY hRoot, const std::string& key, Lines* pLines)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        char szName[256];
        DWORD cchName = sizeof(szName), type = 0;
        BYTE data[1024];
        DWORD cbData = sizeof(data) - 1;
        LONG rc = ::RegEnumValueA(h, i, szName, &cchName, nullptr, &type, data, &cbData);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc != ERROR_SUCCESS)
            continue;
        std::string value;
        if (type == REG_DWORD && cbData == sizeof(DWORD))
            value = std::to_string(*reinterpret_cast<DWORD*>(data));
        else if (type == REG_SZ || type == REG_EXPAND_SZ)
            value = "\"" + std::string(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), cbData)) + "\"";
        else
            value = "(type " + std::to_string(type) + ")";
        pLines->push_back("registry: HKCU\\" + key + " | " + (*szName ? szName : "(default)") + " = " + value);
    }
    for (DWORD i = 0;; ++i) {
        char szSub[256];
        DWORD cchSub = sizeof(szSub);
        LONG rc = ::RegEnumKeyExA(h, i, szSub, &cchSub, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc == ERROR_SUCCESS)
            ListRegistry(hRoot, key + "\\" + szSub, pLines);
    }
    ::RegCloseKey(h);
}

// The log lines in their order (not sorted: they are a history).
void ListText(const std::string& path, const char* pszTag, Lines* pLines)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        pLines->push_back(std::string(pszTag) + "(no file " + path + ")");
        return;
    }
    char szLine[1024];
    if (fgetc(f) == EOF)
        pLines->push_back(std::string(pszTag) + "(empty)");
    rewind(f);
    while (fgets(szLine, sizeof(szLine), f)) {
        std::string line = szLine;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        pLines->push_back(std::string(pszTag) + line);
    }
    fclose(f);
}

}  // namespace

bool WriteState(const StatePlaces& places, const std::string& path)
{
    Lines disk, registry, startMenu, logs;
    ListFiles(places.targetFolder, "disk: ", true, &disk);
    ListRegistry(HKEY_CURRENT_USER, kProfileRoot, &registry);
    ListFiles(places.startMenu, "start menu: ", false, &startMenu);
    ListText(places.installLog, "Install.log: ", &logs);
    ListText(places.viewerLog, "viewer: ", &logs);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    for (Lines* pBlock : {&disk, &registry, &startMenu, &logs}) {
        if (pBlock != &logs)
            std::sort(pBlock->begin(), pBlock->end());
        for (const std::string& line : *pBlock)
            fprintf(f, "%s\n", line.c_str());
    }
    return fclose(f) == 0;
}

}  // namespace demo
