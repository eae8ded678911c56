#include "Registry.h"

#include <shlwapi.h>

#include <vector>

namespace reg {

void ResetProgramKeys()
{
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quendramark");
    DeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark");
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &h) == ERROR_SUCCESS) {
        ::SHDeleteKeyA(h, "Quendramark");
        ::RegCloseKey(h);
    }
}

bool CreateKey(HKEY root, const std::string& path)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(h);
    return true;
}

bool DeleteTree(HKEY root, const std::string& path)
{
    return ::SHDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD cb,
            REGSAM view)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(h, name, 0, type, static_cast<const BYTE*>(data), cb);
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool SetString(HKEY root, const std::string& path, const char* name, const std::string& value, REGSAM view)
{
    return SetRaw(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1), view);
}

bool SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    return SetRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool DeleteValue(HKEY root, const std::string& path, const char* name, REGSAM view)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &h) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegDeleteValueA(h, name);
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool GetString(HKEY root, const std::string& path, const char* name, std::string* value)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, cb = 0;
    LONG rc = ::RegQueryValueExA(h, name, nullptr, &type, nullptr, &cb);
    std::vector<char> buf(cb + 1, '\0');
    if (rc == ERROR_SUCCESS)
        rc = ::RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &cb);
    ::RegCloseKey(h);
    if (rc != ERROR_SUCCESS)
        return false;
    *value = std::string(buf.data());
    return true;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(h);
    return true;
}

static void ReadKey(HKEY hKey, const std::string& prefix, std::map<std::string, std::string>* out)
{
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD cchName = sizeof(name), type = 0, cb = 0;
        if (::RegEnumValueA(hKey, i, name, &cchName, nullptr, &type, nullptr, &cb) != ERROR_SUCCESS)
            break;
        std::vector<char> data(cb + 1, '\0');
        cchName = sizeof(name);
        if (::RegEnumValueA(hKey, i, name, &cchName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &cb) !=
            ERROR_SUCCESS)
            break;
        std::string text = type == REG_SZ && cb > 0 && data[cb - 1] == '\0'
                               ? std::string(data.data(), cb - 1)
                               : "<type " + std::to_string(type) + "> " + std::string(data.data(), cb);
        (*out)[prefix + (cchName ? std::string(name, cchName) : "@")] = text;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD cchName = sizeof(name);
        if (::RegEnumKeyExA(hKey, i, name, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string sub = prefix + std::string(name, cchName) + "\\";
        (*out)[sub] = "<key>";
        HKEY hSub = nullptr;
        if (::RegOpenKeyExA(hKey, name, 0, KEY_READ, &hSub) == ERROR_SUCCESS) {
            ReadKey(hSub, sub, out);
            ::RegCloseKey(hSub);
        }
    }
}

std::map<std::string, std::string> ReadTree(HKEY root, const std::string& path)
{
    std::map<std::string, std::string> tree;
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
        ReadKey(h, "", &tree);
        ::RegCloseKey(h);
    }
    return tree;
}

}  // namespace reg
