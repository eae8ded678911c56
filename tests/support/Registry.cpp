#include "Registry.h"

#include <shlwapi.h>

#include <vector>

namespace reg {

void ResetProgramKeys()
{
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quendramark");
    DeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark");
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

bool SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD cb)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(h, name, 0, type, static_cast<const BYTE*>(data), cb);
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool SetString(HKEY root, const std::string& path, const char* name, const std::string& value)
{
    return SetRaw(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    return SetRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool DeleteValue(HKEY root, const std::string& path, const char* name)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS)
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

}  // namespace reg
