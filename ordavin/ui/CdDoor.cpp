#include "CdDoor.h"

#include "OrdavinDlg.h"
#include "../../framework/DllSearch.h"
#include "TitleClick.h"

#include <cstring>

BOOL g_bDoorOpen = 0;
PFN_MCISENDCOMMANDA g_pfnMciSendCommand = &MciSendCommandFromSystem;

MCIERROR WINAPI MciSendCommandFromSystem(MCIDEVICEID id, UINT uMsg, DWORD_PTR dwFlags, DWORD_PTR dwParam)
{
    // winmm is not a known DLL: imported at load time it would be taken
    // from the program's folder first. Looked up once, on the first use.
    static PFN_MCISENDCOMMANDA s_pfn = nullptr;
    if (!s_pfn) {
        HMODULE hWinmm = LoadSystemLibrary("winmm.dll");
        s_pfn = hWinmm ? reinterpret_cast<PFN_MCISENDCOMMANDA>(
                             reinterpret_cast<void*>(::GetProcAddress(hWinmm, "mciSendCommandA")))
                       : nullptr;
        if (!s_pfn)
            return MCIERR_DEVICE_NOT_INSTALLED;
    }
    return s_pfn(id, uMsg, dwFlags, dwParam);
}

BOOL SetCdDoor(BOOL bOpen, char chDrive)
{
    char szElement[3] = {chDrive, ':', '\0'};
    MCI_OPEN_PARMSA open = {};
    open.dwCallback = 0;
    open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(MCI_DEVTYPE_CD_AUDIO));
    open.lpstrAlias = nullptr;
    DWORD dwFlags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE;
    // Without a usable letter the default CD device is opened.
    if (static_cast<signed char>(chDrive) > 1) {
        open.lpstrElementName = szElement;
        dwFlags |= MCI_OPEN_ELEMENT;
    }
    if (g_pfnMciSendCommand(0, MCI_OPEN, dwFlags, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return FALSE;
    // The door command's result is not examined: the flag records what
    // was commanded.
    g_pfnMciSendCommand(open.wDeviceID, MCI_SET, bOpen ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED, 0);
    g_bDoorOpen = bOpen ? 1 : 0;
    g_pfnMciSendCommand(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
    return TRUE;
}

void COrdavinDlg::OnCdDrive()
{
    // The drive letter follows the label's last blank: "CD-Lfw.: D:".
    const char* pszBlank = strrchr(g_szCdButtonText, ' ');
    char chDrive = pszBlank ? pszBlank[1] : '\0';
    SetCdDoor(g_bDoorOpen == 0, chDrive);
}
