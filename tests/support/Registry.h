// Registry helpers for tests: reset the program's keys and write values of
// any type, including malformed ones.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace reg {

// Deletes HKCU\Software\Quendramark and HKLM\SOFTWARE\Quendramark, the
// latter in both registry views (a 32-bit program's lands in Wow6432Node).
void ResetProgramKeys();
// Creates the key path below root (missing keys on the way too).
bool CreateKey(HKEY root, const std::string& path);
bool DeleteTree(HKEY root, const std::string& path);
// Writes raw data of any type (no terminator added). view: 0 for ours, or
// KEY_WOW64_32KEY / KEY_WOW64_64KEY for where a 32-bit / 64-bit program's
// HKLM\SOFTWARE\... lands.
bool SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD cb,
            REGSAM view = 0);
// Writes a REG_SZ value with its terminator.
bool SetString(HKEY root, const std::string& path, const char* name, const std::string& value, REGSAM view = 0);
bool SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
bool DeleteValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0);
// Reads a string value; false when absent.
bool GetString(HKEY root, const std::string& path, const char* name, std::string* value);
bool KeyExists(HKEY root, const std::string& path);
// Every key and value below root\path, named relative to it: a key as
// "A\B\" with the text "<key>", a value as "A\B\name" ("A\B\@" for the
// default value) with its text when it is a terminated REG_SZ, otherwise
// as "<type N> " and its raw bytes. Empty when the key is absent.
std::map<std::string, std::string> ReadTree(HKEY root, const std::string& path);

}  // namespace reg
