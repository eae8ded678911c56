// The CD-drive button: opens and closes the door of the title's CD drive
// through MCI.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// 1 after the program commanded the door open, 0 after it commanded it
// closed. A door moved by hand is not noticed.
extern BOOL g_bDoorOpen;

// Opens the CD audio device of the drive (letter chDrive) and commands its
// door open or closed. When the device cannot be opened nothing happens and
// the flag keeps its value. Returns TRUE when the device was opened.
BOOL SetCdDoor(BOOL bOpen, char chDrive);

// The MCI entry point; tests put a stand-in here.
typedef MCIERROR(WINAPI* PFN_MCISENDCOMMANDA)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
extern PFN_MCISENDCOMMANDA g_pfnMciSendCommand;

// What g_pfnMciSendCommand holds unless a test replaced it: the system's
// mciSendCommandA, from winmm.dll of the system folder. Without that
// library every command fails with MCIERR_DEVICE_NOT_INSTALLED.
MCIERROR WINAPI MciSendCommandFromSystem(MCIDEVICEID id, UINT uMsg, DWORD_PTR dwFlags, DWORD_PTR dwParam);
