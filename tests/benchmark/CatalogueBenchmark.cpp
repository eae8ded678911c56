// Time of a refresh of the title list over catalogues of growing size. The
// scan makes one pass with a fixed amount of work per title, so the time
// per title must not grow with the catalogue.
#include "../ordavin/CatalogueFixture.h"
#include "Goal.h"

#include "../../ordavin/catalogue/TitleCatalogue.h"

#include <algorithm>
#include <cstdio>

namespace {

// Writes n titles straight through open keys: a quarter each on the hard
// disk (present), the hard disk (missing), the CD in D: and the share.
void BuildCatalogue(const TitleFolders& dirs, int n)
{
    reg::ResetProgramKeys();
    HKEY hRoot = nullptr, hCatalogue = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, PROFILE_ROOT, 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &hRoot, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(hRoot, "V30", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hCatalogue, nullptr));
    const std::string paths[] = {dirs.hd + "\\P.V30", dirs.hd + "\\gone.V30", dirs.cdD + "\\P.V30",
                                 dirs.share + "\\P.V30"};
    for (int i = 0; i < n; ++i) {
        const std::string file = "Titel" + std::to_string(i) + ".V30";
        const std::string title = "Titel Nummer " + std::to_string(i);
        ::RegSetValueExA(hCatalogue, file.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(title.c_str()),
                         static_cast<DWORD>(title.size() + 1));
        HKEY hIfo = nullptr;
        ::RegCreateKeyExA(hRoot, (title + "\\Ifo").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hIfo, nullptr);
        const std::string& path = paths[i % 4];
        ::RegSetValueExA(hIfo, "Path0", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                         static_cast<DWORD>(path.size() + 1));
        const DWORD mark = i % 2;
        ::RegSetValueExA(hIfo, "iSel", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mark), sizeof(mark));
        ::RegCloseKey(hIfo);
    }
    ::RegCloseKey(hCatalogue);
    ::RegCloseKey(hRoot);
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

TEST_F(CatalogueTest, RefreshTimeGrowsLinearly)
{
    ASSERT_TRUE(testenv::MakeFile(dirs.hd + "\\P.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.cdDHost + "\\P.V30"));
    ASSERT_TRUE(testenv::MakeFile(dirs.shareHost + "\\P.V30"));
    OpenDialog();

    // Each size: the first refresh after the catalogue was written anew
    // (every title's section new to the scan, as when the dialog opens),
    // then repeated refreshes, of which the fastest counts; each up to the
    // list's repaint. The registry and file-system part alone is timed as
    // well.
    const int sizes[] = {100, 1000, 10000};
    const int runs[] = {5, 3, 2};
    double perTitle[3] = {};
    for (int s = 0; s < 3; ++s) {
        BuildCatalogue(dirs, sizes[s]);
        double first = 0, best = 1e9, bestScan = 1e9;
        for (int run = 0; run <= runs[s]; ++run) {
            LARGE_INTEGER t0, t1, t2;
            ::QueryPerformanceCounter(&t0);
            dlg->RefreshTitleList();
            // Until the user sees the new rows.
            ::UpdateWindow(dlg->m_listTitles.m_hWnd);
            ::QueryPerformanceCounter(&t1);
            int n = 0;
            ScanCatalogue([&n](const TitleEntry&) { ++n; });
            ::QueryPerformanceCounter(&t2);
            ASSERT_EQ(sizes[s], n);
            if (run == 0) {
                first = Seconds(t0, t1);
                continue;
            }
            best = std::min(best, Seconds(t0, t1));
            bestScan = std::min(bestScan, Seconds(t1, t2));
        }
        ASSERT_EQ(sizes[s], dlg->m_listTitles.GetItemCount());
        perTitle[s] = best / sizes[s];
        std::printf("%6d titles: refresh %9.1f ms, %7.1f us per title (scan alone %7.1f us per title; "
                    "first refresh %7.1f us per title)\n",
                    sizes[s], best * 1e3, perTitle[s] * 1e6, bestScan / sizes[s] * 1e6, first / sizes[s] * 1e6);
        std::fflush(stdout);
        if (sizes[s] >= 1000)
            ReportGoal(("refresh of " + std::to_string(sizes[s]) + " titles, per title").c_str(), perTitle[s] * 1e3,
                       0.2, "ms");
    }
    // Linear within the noise of a shared machine: a quadratic part would
    // make the 10,000-title catalogue cost ten times as much per title.
    EXPECT_LT(perTitle[2], 3 * perTitle[1]);
    EXPECT_LT(perTitle[2], 3 * perTitle[0]);
}
