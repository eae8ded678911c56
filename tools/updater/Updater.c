/* A stand-in for the common-controls update package "50COMUPD.EXE".
 *
 * It installs nothing. When started it writes the marker file
 * "50COMUPD.RUN" beside itself, holding its current directory and its
 * command line, one per line; a marker already there is replaced. When
 * ZORVALIA_UPDATER_LINGER_MS names a number of milliseconds (at most a
 * minute) it then stays that long before it ends, like a setup that waits for
 * its user. The exit code is 0 when the marker was written, 1 otherwise. */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

static BOOL WriteAll(HANDLE hFile, const char* pszText)
{
    DWORD cbWritten = 0;
    DWORD cb = (DWORD)strlen(pszText);
    return WriteFile(hFile, pszText, cb, &cbWritten, NULL) && cbWritten == cb;
}

/* Waits on the message queue rather than sleeping, as a setup with its window
 * would: the shell may wait until a program it started is ready for input
 * (Wine's ShellExecute always does), and a sleeping program never is. */
static void Linger(DWORD ms)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        DWORD dwElapsed;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, ms - dwElapsed, QS_ALLINPUT);
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nShow)
{
    char szMarker[MAX_PATH];
    char szCurDir[MAX_PATH];
    char szLinger[16];
    char* pszSlash;
    HANDLE hFile;
    BOOL bOk;
    DWORD n;

    (void)hPrev;
    (void)nShow;
    n = GetModuleFileNameA(hInstance, szMarker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 1;
    pszSlash = strrchr(szMarker, '\\');
    if (!pszSlash || (size_t)(pszSlash + 1 - szMarker) + sizeof("50COMUPD.RUN") > MAX_PATH)
        return 1;
    strcpy(pszSlash + 1, "50COMUPD.RUN");

    n = GetCurrentDirectoryA(MAX_PATH, szCurDir);
    if (n == 0 || n >= MAX_PATH)
        szCurDir[0] = '\0';

    /* Written under a temporary name and then renamed, so that whoever waits
     * for the marker never sees it half written. */
    {
        char szTemp[MAX_PATH + 4];
        lstrcpynA(szTemp, szMarker, MAX_PATH);
        strcat(szTemp, ".tmp");
        hFile = CreateFileA(szTemp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            return 1;
        bOk = WriteAll(hFile, szCurDir) && WriteAll(hFile, "\r\n") && WriteAll(hFile, lpCmdLine ? lpCmdLine : "") &&
              WriteAll(hFile, "\r\n");
        CloseHandle(hFile);
        bOk = bOk && MoveFileExA(szTemp, szMarker, MOVEFILE_REPLACE_EXISTING);
        if (!bOk)
            return 1;
    }

    n = GetEnvironmentVariableA("ZORVALIA_UPDATER_LINGER_MS", szLinger, sizeof(szLinger));
    if (n > 0 && n < sizeof(szLinger)) {
        long ms = strtol(szLinger, NULL, 10);
        if (ms > 0)
            Linger(ms < 60000 ? (DWORD)ms : 60000);
    }
    return 0;
}
