// Drives the shell's folder browser (SHBrowseForFolder) while it runs
// modally on this thread. DialogDriver sees only the framework's dialogs;
// the browser is a #32770 window of the shell, found here by its caption.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace gui {

// While it lives: the first time a #32770 window with the given caption is
// activated, runs the script on it from the browser's own message loop once
// the browser is visible (so
// message boxes the script causes run as they would for a user). When the
// watchdog fires, the browser is cancelled so that a broken test fails
// instead of hanging.
class BrowserDriver
{
public:
    BrowserDriver(std::string caption, std::function<void(HWND)> script, DWORD watchdogMs = 15000);
    ~BrowserDriver();
    BrowserDriver(const BrowserDriver&) = delete;
    BrowserDriver& operator=(const BrowserDriver&) = delete;

    HWND hBrowser = nullptr;   // the browser found, null if none appeared
    bool scriptRan = false;
    bool timedOut = false;

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR, DWORD);

    std::string m_caption;
    std::function<void(HWND)> m_script;
    HHOOK m_hHook = nullptr;
    UINT_PTR m_scriptTimer = 0;
    UINT_PTR m_watchdog = 0;
};

// Selects, in the browser's folder tree, the item below the tree's root that
// shows the shell folder nCsidl (such as CSIDL_DRIVES); false if the tree has
// no such item. The browser is told of the change as after a user's click.
bool SelectShellFolder(HWND hBrowser, int treeId, int nCsidl);

}  // namespace gui
