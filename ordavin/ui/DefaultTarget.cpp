#include "DefaultTarget.h"

#include "../../framework/RegKey.h"

namespace {
BOOL ReadMachineString(LPCSTR pszKey, LPCSTR pszValue, char (&szBuffer)[MAX_PATH])
{
    CRegKey key;
    return key.Open(HKEY_LOCAL_MACHINE, pszKey, KEY_READ) == ERROR_SUCCESS &&
           key.QueryString(pszValue, szBuffer, MAX_PATH);
}
}  // namespace

BOOL ReadDefaultTarget(CString* pstrTarget)
{
    char szValue[MAX_PATH];
    if (ReadMachineString("SOFTWARE\\Quendramark\\Texorra", "NuvadoDir", szValue)) {
        *pstrTarget = szValue;
        return TRUE;
    }
    if (ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", szValue)) {
        *pstrTarget = CString(szValue) + "\\Texorra\\Zorvalia";
        return TRUE;
    }
    return FALSE;
}
