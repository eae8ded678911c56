// The installation log "Install.log" beside the installer's executable.
//
// Logging is switched on by the file's presence: an existing file is
// appended to, opened without sharing; it is never created, truncated or
// read. Each run adds one block: a header with date and time, a line per
// folder prepared, file copied and shortcut saved, and a closing line.
#pragma once

#include "../../framework/StdioFile.h"
#include "../../framework/String.h"

// The open log; closed except during an installation run.
extern CStdioFile g_logFile;
// TRUE while g_logFile is open for the current run. Writers test it first.
extern BOOL g_bLogOpen;

// A line holds at most this many characters, its "\n" included.
const int LOG_LINE_MAX = 259;

// The log's path: the executable's folder (pszModulePath cut at its last
// backslash) followed by "\Install.log".
CString InstallLogPath(LPCSTR pszModulePath);
// The same for the running executable.
CString CurrentInstallLogPath();

// The first header line, from the C runtime's date (MM/DD/YY) and time
// (HH:MM:SS) texts; the time is cut after the minutes.
CString LogHeaderLine(LPCSTR pszDate, LPCSTR pszTime);

// Formats a line of one "%s" into szLine. A longer line is cut to
// LOG_LINE_MAX characters, keeping its "\n" so the next line still starts
// on a line of its own.
void FormatLogLine(char (&szLine)[LOG_LINE_MAX + 1], LPCSTR pszFormat, LPCSTR pszArg);

// Opens the existing log at pszPath for this run and writes the header.
// FALSE, and no file made or changed, when it cannot be opened. The result
// goes into g_bLogOpen.
BOOL OpenInstallLog(LPCSTR pszPath);

// Writes a line formatted of one "%s" when g_bLogOpen. A line that cannot
// be written (a full disk) ends the log for this run: the file keeps only
// whole lines and is closed, g_bLogOpen turns FALSE, and the run goes on
// without a log. A block cut short thus lacks its closing line.
void WriteLogLine(LPCSTR pszFormat, LPCSTR pszArg);

// Closes the log if it is open for this run; g_bLogOpen is FALSE after.
void CloseInstallLog();

// The module-path query used for the log's path; tests put a stand-in here.
typedef DWORD(WINAPI* PFN_GETMODULEFILENAMEA)(HMODULE, LPSTR, DWORD);
extern PFN_GETMODULEFILENAMEA g_pfnGetModuleFileName;
