// CWinApp: the application object and its per-user profile in the registry.
//
// Exactly one application object exists, constructed as a global before the
// entry point runs. The entry point (AppMain.cpp) fills in the instance and
// command line, settles the application name and calls InitInstance.
#pragma once

#include "Wnd.h"

#include <string>

class CWinApp
{
public:
    // Without a name the application name is string resource 57344, or the
    // executable's base name when that string is missing.
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Settles m_pszAppName (see the constructor); called by the entry point.
    void InitApplicationName();

    // From here on the profile lives in
    // HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(LPCSTR pszRegistryKey);

    // Reads a string value of a section (a subkey of the profile root; a
    // backslash in the name nests it). Missing keys on the way are created.
    // Returns the default (or "") when the value cannot be read as text.
    CString GetProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszDefault = nullptr);
    // Reads at most four bytes of a value into a number; returns the default
    // when the value is missing or longer than four bytes.
    UINT GetProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nDefault);
    // Stores text as REG_SZ with its terminator.
    BOOL WriteProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszValue);

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    // The section's key, opened for reading and writing; null on failure.
    HKEY GetSectionKey(LPCSTR pszSection);

    std::string m_strAppName;
    std::string m_strRegistryKey;
};

CWinApp* AfxGetApp();

// A message box with the application name as caption, owned by the active
// window of the thread (or the main window when none is active).
int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
