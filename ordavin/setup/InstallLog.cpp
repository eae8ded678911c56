#include "InstallLog.h"

#include <cstring>
#include <ctime>

CStdioFile g_logFile;
BOOL g_bLogOpen = FALSE;
PFN_GETMODULEFILENAMEA g_pfnGetModuleFileName = &::GetModuleFileNameA;

CString InstallLogPath(LPCSTR pszModulePath)
{
    CString strPath = pszModulePath ? pszModulePath : "";
    int nSlash = strPath.ReverseFind('\\');
    return (nSlash >= 0 ? strPath.Left(nSlash) : CString()) + "\\Install.log";
}

CString CurrentInstallLogPath()
{
    char szModule[MAX_PATH] = "";
    g_pfnGetModuleFileName(nullptr, szModule, MAX_PATH);
    szModule[MAX_PATH - 1] = '\0';
    return InstallLogPath(szModule);
}

CString LogHeaderLine(LPCSTR pszDate, LPCSTR pszTime)
{
    CString strLine;
    strLine.Format("***  Installation Started %s %.5s  ***\n", pszDate ? pszDate : "", pszTime ? pszTime : "");
    return strLine;
}

void FormatLogLine(char (&szLine)[LOG_LINE_MAX + 1], LPCSTR pszFormat, LPCSTR pszArg)
{
    CString strLine;
    strLine.Format(pszFormat, pszArg ? pszArg : "");
    int nLen = strLine.GetLength();
    if (nLen > LOG_LINE_MAX) {
        bool bNewLine = strLine.GetAt(nLen - 1) == '\n';
        nLen = LOG_LINE_MAX;
        memcpy(szLine, strLine.GetString(), static_cast<size_t>(nLen));
        if (bNewLine)
            szLine[nLen - 1] = '\n';
    } else {
        memcpy(szLine, strLine.GetString(), static_cast<size_t>(nLen));
    }
    szLine[nLen] = '\0';
}

BOOL OpenInstallLog(LPCSTR pszPath)
{
    // Write-only without create flags: an existing file only, no sharing.
    if (!g_logFile.Open(pszPath, CFile::modeWrite | CFile::typeText))
        return FALSE;
    g_logFile.Seek(0, CFile::end);
    char szDate[16] = "";
    char szTime[16] = "";
    _strdate(szDate);
    _strtime(szTime);
    // Both header lines in one write: a block never starts half.
    if (!g_logFile.WriteString(LogHeaderLine(szDate, szTime) + "Title: Texorra 5.0 - Zorvalia Installation\n")) {
        g_logFile.Close();
        return FALSE;
    }
    return TRUE;
}

void WriteLogLine(LPCSTR pszFormat, LPCSTR pszArg)
{
    if (!g_bLogOpen)
        return;
    char szLine[LOG_LINE_MAX + 1];
    FormatLogLine(szLine, pszFormat, pszArg);
    if (!g_logFile.WriteString(szLine))
        CloseInstallLog();
}

void CloseInstallLog()
{
    if (g_bLogOpen)
        g_logFile.Close();
    g_bLogOpen = FALSE;
}
