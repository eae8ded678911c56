// A stand-in for the volume query of the size display: answers from a table
// keyed by the exact text asked for, records every question, and fails for
// a text it does not know.
#pragma once

#include "../../ordavin/ui/SizeDisplay.h"

#include <map>
#include <string>
#include <vector>

class FakeVolumes
{
public:
    struct Volume {
        ULONGLONG ullAvailable;
        ULONGLONG ullTotal;
    };

    FakeVolumes() : m_pfnPrevious(g_pfnGetDiskFreeSpaceEx)
    {
        s_pThis = this;
        g_pfnGetDiskFreeSpaceEx = &FakeVolumes::Query;
    }
    ~FakeVolumes()
    {
        g_pfnGetDiskFreeSpaceEx = m_pfnPrevious;
        s_pThis = nullptr;
    }
    FakeVolumes(const FakeVolumes&) = delete;
    FakeVolumes& operator=(const FakeVolumes&) = delete;

    std::map<std::string, Volume> volumes;
    std::vector<std::string> asked;

private:
    static BOOL WINAPI Query(LPCSTR pszDir, PULARGE_INTEGER pAvailable, PULARGE_INTEGER pTotal,
                             PULARGE_INTEGER pTotalFree)
    {
        s_pThis->asked.push_back(pszDir ? pszDir : "<null>");
        auto it = s_pThis->volumes.find(pszDir ? pszDir : "");
        if (it == s_pThis->volumes.end()) {
            ::SetLastError(ERROR_PATH_NOT_FOUND);
            return FALSE;
        }
        pAvailable->QuadPart = it->second.ullAvailable;
        pTotal->QuadPart = it->second.ullTotal;
        if (pTotalFree)
            pTotalFree->QuadPart = it->second.ullAvailable;
        return TRUE;
    }

    static inline FakeVolumes* s_pThis = nullptr;
    PFN_GETDISKFREESPACEEXA m_pfnPrevious;
};
