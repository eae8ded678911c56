/* A library an attacker would plant: copied under the name of a system
 * library beside a program or into its current directory. When anything
 * loads it, it appends its own full path as a line to the file named by
 * ZORVALIA_PLANTED_LOG. It exports the functions the programs import by
 * name from the libraries it stands in for, so that a program that imports
 * one of them at load time still starts and the load is recorded. */
#include <windows.h>
#include <mmsystem.h>

BOOL WINAPI DllMain(HINSTANCE hinstDll, DWORD dwReason, LPVOID pvReserved)
{
    (void)pvReserved;
    if (dwReason == DLL_PROCESS_ATTACH) {
        char szLog[MAX_PATH];
        char szSelf[MAX_PATH + 2];
        DWORD cchSelf = GetModuleFileNameA(hinstDll, szSelf, MAX_PATH);
        DWORD cchLog = GetEnvironmentVariableA("ZORVALIA_PLANTED_LOG", szLog, MAX_PATH);
        if (cchSelf > 0 && cchSelf < MAX_PATH && cchLog > 0 && cchLog < MAX_PATH) {
            HANDLE hFile = CreateFileA(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (hFile != INVALID_HANDLE_VALUE) {
                DWORD cbWritten = 0;
                szSelf[cchSelf] = '\r';
                szSelf[cchSelf + 1] = '\n';
                WriteFile(hFile, szSelf, cchSelf + 2, &cbWritten, NULL);
                CloseHandle(hFile);
            }
        }
    }
    return TRUE;
}

MCIERROR WINAPI PlantedMciSendCommandA(MCIDEVICEID id, UINT uMsg, DWORD_PTR dwFlags, DWORD_PTR dwParam)
{
    (void)id; (void)uMsg; (void)dwFlags; (void)dwParam;
    return MCIERR_DEVICE_NOT_INSTALLED;
}

void WINAPI PlantedInitCommonControls(void)
{
}
