#include "VelmoraFixture.h"

#include "../../velmora/VelmoraDlg.h"
#include "../support/Gui.h"
#include "resource.h"

#include <algorithm>
#include <memory>
#include <vector>

using velmora_test::StandIn;

namespace {
const char kNeeded[] =
    "MELDUNG: Ein Update ist dringend erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";
const char kNotNeeded[] =
    "MELDUNG: Ein Update ist nicht erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!";

// The dialog, created modelessly against a stand-in library.
class VelmoraDialog : public velmora_test::VelmoraTest
{
protected:
    void Open(const char* pszStandIn)
    {
        m_dll = StandIn(pszStandIn);
        g_pszComCtlDll = m_dll.c_str();
        dlg = std::make_unique<CVelmoraDlg>();
        ASSERT_TRUE(dlg->Create());
        hDlg = dlg->m_hWnd;
        gui::Pump(50);
    }
    void TearDown() override
    {
        dlg.reset();
        gui::Pump(20);
        VelmoraTest::TearDown();
    }

    std::unique_ptr<CVelmoraDlg> dlg;
    HWND hDlg = nullptr;

private:
    std::string m_dll;
};

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(gui::Text(hWnd));
    return TRUE;
}
}  // namespace

TEST_F(VelmoraDialog, VersionLineVerdictAndButtonFollowTheLibrary)
{
    struct Case { const char* dll; const char* line; const char* verdict; bool updateEnabled; };
    const Case cases[] = {
        {"cc_v472", "ComCtl32.dll Version ist 4.72.3110.1", kNeeded, true},
        {"cc_v580", "ComCtl32.dll Version ist 5.80.2614.1", kNotNeeded, true},
        {"cc_v581", "ComCtl32.dll Version ist 5.81.4916.2", kNotNeeded, false},
        {"cc_v600", "ComCtl32.dll Version ist 6.0.2600.2", kNotNeeded, false},
        {"cc_v582", "ComCtl32.dll Version ist 5.82.2900.2", kNotNeeded, false},
        // Unreadable libraries count as 0.0.0.0.
        {"cc_fail", "ComCtl32.dll Version ist 0.0.0.0", kNeeded, true},
        {"cc_noexport", "ComCtl32.dll Version ist 0.0.0.0", kNeeded, true},
        {"cc_absent", "ComCtl32.dll Version ist 0.0.0.0", kNeeded, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dll);
        Open(c.dll);
        EXPECT_EQ(c.line, gui::ControlText(hDlg, IDC_VERSION));
        EXPECT_EQ(c.verdict, gui::ControlText(hDlg, IDC_MESSAGE));
        EXPECT_EQ(c.updateEnabled, gui::IsEnabled(hDlg, IDOK));
        EXPECT_TRUE(gui::IsEnabled(hDlg, IDCANCEL));
        dlg.reset();
    }
}

TEST_F(VelmoraDialog, TemplateTextsAndStyles)
{
    Open("cc_v472");
    EXPECT_EQ("Velmora", gui::Text(hDlg));
    EXPECT_TRUE(::GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    std::vector<std::string> texts;
    ::EnumChildWindows(hDlg, &CollectText, reinterpret_cast<LPARAM>(&texts));
    // The German letters must arrive as code page 1252, and the line break
    // as a real one.
    const char* expected[] = {
        "Velmora \xFC" "berpr\xFC" "ft Ihre Systemkonfiguration\nf\xFCr Texorra 3.0 - Professional",
        "Nach der kurzen Setup-Prozedur m\xFCssen Sie den Computer neu starten, damit diese Windows-Datei f\xFCr "
        "Ihr Betriebssystem wirksam ist. ",
        "Jetzt Updaten...",
    };
    for (const char* text : expected)
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), text)) << text;

    // Enter must not start the package: the update button is a plain one.
    EXPECT_EQ(BS_PUSHBUTTON, ::GetWindowLongPtrA(::GetDlgItem(hDlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_TRUE(::GetWindowLongPtrA(::GetDlgItem(hDlg, IDC_VERSION), GWL_STYLE) & SS_SUNKEN);
}

TEST_F(VelmoraDialog, ProgramIconForWindowAndDragging)
{
    Open("cc_v581");
    ASSERT_NE(nullptr, dlg->m_hIcon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg->m_hIcon), ::SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg->m_hIcon), ::SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(dlg->m_hIcon), ::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0));
}

TEST_F(VelmoraDialog, UpdateTakesTheVerdictAlongAndCancelLeavesIt)
{
    Open("cc_v580");
    gui::SendCommand(hDlg, IDOK);
    EXPECT_EQ(IDOK, dlg->GetEndResult());
    EXPECT_STREQ(kNotNeeded, dlg->m_strMessage.GetString());

    Open("cc_v472");
    gui::SendCommand(hDlg, IDCANCEL);
    EXPECT_EQ(IDCANCEL, dlg->GetEndResult());
    EXPECT_TRUE(dlg->m_strMessage.IsEmpty());
}
