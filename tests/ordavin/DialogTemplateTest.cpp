// Dialog 102 as the program carries it: the template read from the
// executable's resources, and the window the system builds from it.
#include "MainDialogFixture.h"

#include <shlwapi.h>

#include <vector>

namespace {

struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string cls;       // class name, or the predefined class by name
    std::string text;      // caption in code page 1252, or "#n" for a resource ordinal
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    WORD pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

// Reads a DLGTEMPLATEEX; returns false when the resource is not one.
class TemplateReader
{
public:
    explicit TemplateReader(const BYTE* p, DWORD size) : m_p(p), m_end(p + size) {}

    bool Read(Template* t)
    {
        WORD version = Word(), signature = Word();
        if (version != 1 || signature != 0xFFFF)
            return false;
        Dword();   // help id
        t->exStyle = Dword();
        t->style = Dword();
        WORD count = Word();
        t->x = static_cast<short>(Word()); t->y = static_cast<short>(Word());
        t->cx = static_cast<short>(Word()); t->cy = static_cast<short>(Word());
        SzOrOrd();                // menu
        SzOrOrd();                // class
        t->caption = SzOrOrd();
        if (t->style & DS_SETFONT) {
            t->pointSize = Word();
            Word();               // weight
            Word();               // italic, charset
            t->font = SzOrOrd();
        }
        for (WORD i = 0; i < count; ++i) {
            Align(4);
            TemplateItem item;
            Dword();              // help id
            item.exStyle = Dword();
            item.style = Dword();
            item.x = static_cast<short>(Word()); item.y = static_cast<short>(Word());
            item.cx = static_cast<short>(Word()); item.cy = static_cast<short>(Word());
            item.id = static_cast<int>(Dword());
            item.cls = ClassName();
            item.text = SzOrOrd();
            WORD extra = Word();
            m_p += extra;
            t->items.push_back(item);
        }
        return m_p <= m_end;
    }

private:
    WORD Word() { WORD w = 0; if (m_p + 2 <= m_end) memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d = 0; if (m_p + 4 <= m_end) memcpy(&d, m_p, 4); m_p += 4; return d; }
    void Align(size_t n) { m_p = reinterpret_cast<const BYTE*>((reinterpret_cast<UINT_PTR>(m_p) + n - 1) & ~(n - 1)); }
    std::string SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::wstring w;
        for (WORD c = first; c != 0 && m_p <= m_end; c = Word())
            w.push_back(static_cast<wchar_t>(c));
        if (w.empty())
            return std::string();
        char buf[1024] = "";
        int n = ::WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), buf, sizeof(buf), nullptr, nullptr);
        return std::string(buf, n > 0 ? n : 0);
    }
    std::string ClassName()
    {
        WORD first = Word();
        if (first != 0xFFFF) {
            m_p -= 2;
            return SzOrOrd();
        }
        switch (Word()) {
        case 0x0080: return "Button";
        case 0x0081: return "Edit";
        case 0x0082: return "Static";
        default: return "?";
        }
    }

    const BYTE* m_p;
    const BYTE* m_end;
};

bool LoadTemplate(Template* t, UINT id = IDD_ORDAVIN_DIALOG)
{
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!hRes)
        return false;
    const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hRes)));
    return p && TemplateReader(p, ::SizeofResource(hModule, hRes)).Read(t);
}

// The kinds of control in the layout, as style bits.
const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kLeft = kChild | WS_GROUP | SS_LEFT;
const DWORD kRight = kChild | WS_GROUP | SS_RIGHT;
const DWORD kIcon = kChild | SS_ICON;
const DWORD kRule = kChild | SS_BLACKFRAME;
const DWORD kOff = WS_DISABLED;
const DWORD kTransparent = WS_EX_TRANSPARENT;

struct Expected {
    int id;
    const char* cls;
    DWORD style;
    DWORD exStyle;
    const char* text;
    short x, y, cx, cy;
};

const Expected kLayout[] = {
    {1012, "Button", kButton, 0, "Erneuern", 225, 129, 55, 15},
    {1000, "SysListView32", kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER,
     WS_EX_STATICEDGE, "List1", 3, 60, 278, 65},
    {1002, "Button", kButton | kOff, 0, "Installieren", 225, 279, 56, 14},
    {1028, "msctls_progress32", kChild | WS_BORDER, 0, "Progress1", 67, 302, 152, 15},
    {2, "Button", kButton, 0, "Be&enden", 225, 302, 56, 14},
    {1006, "Button", kButton | kOff, 0, "Ausw\xE4hlen", 225, 254, 56, 14},
    {1021, "Button", kButton | kOff, 0, "Entfernen", 225, 193, 55, 15},
    {1027, "Button", kButton | kOff, 0, "CD-Lfw.:   ", 225, 155, 55, 13},
    {1003, "Edit", kChild | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 0, "", 24, 255, 193, 13},
    {1029, "Button", kButton, 0, "Hinweise", 4, 303, 58, 14},
    {1017, "Static", kLeft | kOff, 0, "auf Festplatte", 192, 225, 46, 9},
    {-1, "Static", kLeft, 0, "Statusbericht installierter Texorra-Titel:", 4, 50, 126, 8},
    {1015, "Static", kRight | kOff, 0, "im Umfang von: ", 24, 225, 52, 10},
    {-1, "Static", kLeft, 0, "verf\xFC" "gbarer Platz auf ausgew\xE4hlter Festplatte:", 48, 276, 145, 10},
    {1019, "Static", kLeft | kOff, kTransparent,
     "zu \xFC" "bertragen, k\xF6nnen Sie einen neuen bzw. \xFC" "ber 'Ausw\xE4hlen' einen anderen Ordner bestimmen oder "
     "\xFC" "bernehmen Sie dieses Zielverzeichnis:", 25, 234, 249, 16},
    {1014, "Static", kLeft | kOff, 0, "Um die verf\xFC" "gbare Titelanwendung aus 'Zorvalia' (Texorra-Dateien)", 25, 216, 258, 10},
    {1016, "Static", kLeft | kOff, kTransparent, "vom CD-Laufwerk:", 116, 225, 59, 11},
    {-1, "Static", kIcon, kTransparent, "#130", 4, 216, 20, 20},
    {1008, "Static", kRight, 0, "0 MB", 3, 276, 41, 10},
    {1010, "Static", kLeft | kOff, 0, "D:", 179, 225, 11, 8},
    {1011, "Static", kRight | kOff, 0, "0 MB", 80, 225, 32, 8},
    {1013, "Static", kLeft, 0, "C:", 196, 276, 15, 9},
    {-1, "Static", kIcon, kTransparent, "#32581", 4, 143, 20, 20},
    {1023, "Static", kLeft | kOff, kTransparent,
     "Um eine dieser Installationen auf Festplatte zu \xFC" "bertragen, legen Sie die jeweilige Original-CD-ROM ein, "
     "schlie\xDF" "en Sie das Laufwerk und klicken Sie anschlie\xDF" "end auf 'Erneuern'.", 27, 144, 194, 24},
    {-1, "Static", kRule, 0, "", 3, 172, 277, 1},
    {-1, "Static", kRule, 0, "", 3, 273, 277, 1},
    {-1, "Static", kRule, 0, "", 4, 297, 277, 1},
    {1020, "Static", kLeft | kOff, 0, "Sie k\xF6nnen jetzt den Installationsvorgang starten.", 26, 286, 163, 9},
    {-1, "Static", kRule, 0, "", 4, 212, 277, 1},
    {-1, "Static", kIcon, kTransparent, "#32582", 3, 176, 20, 20},
    {1022, "Static", kLeft | kOff, kTransparent,
     "Um eine dieser Installationen von Festplatte zu entfernen. Klicken Sie auf 'Entfernen'. (Die Anwendung kann "
     "dann nicht mehr von Festplatte gestartet werden und mu\xDF ggf. erneut von der Original-CD aus installiert werden.)",
     26, 176, 194, 32},
    {1024, "Static", kLeft, 0, "", 255, 175, 17, 9},
    {-1, "Static", kChild | SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZEIMAGE, 0, "#129", 4, 2, 278, 47},
    {-1, "Static", kRule, 0, "", 4, 139, 216, 1},
    {-1, "Static", kChild | SS_BITMAP, 0, "#135", 9, 128, 9, 8},
    {-1, "Static", kLeft, 0, "F\xFCr 'Felvanta' in Texorra markiert", 27, 128, 187, 9},
    {1032, "Static", (kRight & ~WS_VISIBLE) | kOff, 0, "(Bitte w\xE4hlen Sie durch Mausklick)", 152, 50, 128, 9},
    {1031, "Button", kButton, 0, "Beenden und Texorra-Titel laden ...", 67, 302, 152, 15},
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

TEST(DialogTemplate, MainDialogFrame)
{
    Template t;
    ASSERT_TRUE(LoadTemplate(&t));
    EXPECT_EQ("Zorvalia - Hilfsprogramm", t.caption);
    EXPECT_EQ(286, t.cx);
    EXPECT_EQ(322, t.cy);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ("MS Sans Serif", t.font);
    EXPECT_EQ(static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU), t.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), t.exStyle);
}

// Compares a template's controls, in tab order, with a layout table.
static void ExpectLayout(const Template& t, const Expected* layout, size_t n)
{
    ASSERT_EQ(n, t.items.size());
    for (size_t i = 0; i < n; ++i) {
        const Expected& e = layout[i];
        const TemplateItem& a = t.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(e.id));
        EXPECT_EQ(e.id, static_cast<int>(static_cast<short>(a.id)));
        EXPECT_EQ(0, lstrcmpiA(e.cls, a.cls.c_str())) << a.cls;   // class names ignore case
        EXPECT_EQ(e.style, a.style) << std::hex << "differs in 0x" << (e.style ^ a.style);
        EXPECT_EQ(e.exStyle, a.exStyle);
        EXPECT_EQ(e.text ? e.text : a.text, a.text);
        EXPECT_EQ(e.x, a.x);
        EXPECT_EQ(e.y, a.y);
        EXPECT_EQ(e.cx, a.cx);
        EXPECT_EQ(e.cy, a.cy);
    }
}

TEST(DialogTemplate, MainDialogControlsInTabOrder)
{
    Template t;
    ASSERT_TRUE(LoadTemplate(&t));
    const size_t n = sizeof(kLayout) / sizeof(kLayout[0]);
    ASSERT_EQ(38u, n);
    ExpectLayout(t, kLayout, n);
}

TEST(DialogTemplate, BuiltWindowShowsTextsImagesAndStates)
{
    // The template alone, without the program's initialisation.
    HWND hDlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ORDAVIN_DIALOG), nullptr,
                                     &PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ("Zorvalia - Hilfsprogramm", gui::Text(hDlg));
    HWND hChild = ::GetWindow(hDlg, GW_CHILD);
    for (const Expected& e : kLayout) {
        ASSERT_NE(nullptr, hChild);
        SCOPED_TRACE(std::string("control ") + std::to_string(e.id) + " " + e.text);
        EXPECT_EQ(e.id, static_cast<int>(static_cast<short>(::GetDlgCtrlID(hChild))));
        EXPECT_EQ((e.style & WS_VISIBLE) != 0, (::GetWindowLongPtrA(hChild, GWL_STYLE) & WS_VISIBLE) != 0);
        EXPECT_EQ((e.style & WS_DISABLED) == 0, ::IsWindowEnabled(hChild) != FALSE);
        // Rectangles in pixels, as the dialog's font converts them.
        RECT expected = {e.x, e.y, e.x + e.cx, e.y + e.cy};
        ::MapDialogRect(hDlg, &expected);
        RECT actual;
        ::GetWindowRect(hChild, &actual);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        if (e.text[0] == '#') {
            // Icons and bitmaps were loaded from the program's resources.
            UINT type = (::GetWindowLongPtrA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
            EXPECT_NE(0, ::SendMessageA(hChild, STM_GETIMAGE, type, 0));
        } else if (strcmp(e.cls, "SysListView32") != 0 && strcmp(e.cls, "msctls_progress32") != 0) {
            EXPECT_EQ(e.text, gui::Text(hChild));
        }
        hChild = ::GetWindow(hChild, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, hChild) << "more controls than the layout has";
    ::DestroyWindow(hDlg);
}

TEST(DialogTemplate, StringsOfTheMainDialogAndStartUp)
{
    struct { UINT id; const char* text; } strings[] = {
        {IDS_ABOUTBOX, "Inf&o \xFC" "ber Ordavin..."},
        {IDS_APP_TITLE, "Texorra 3.0 - Professional"},
        {IDS_HELPER_CAPTION, "Texorra 5.0 - Hilfsprogramm"},
        {IDS_PLATFORM_WARNING,
         "Diese Programmfassung ist eine Windows XP, Vista bzw.      \nWindows 2000 Anwendung! \n"
         "F\xFCr die Nutzung unter Windows 98/ME installieren \nSie bitte die Parallelversion via SETUP.exe.\n\n"
         "             Vielen Dank!"},
    };
    for (const auto& s : strings) {
        CString text;
        EXPECT_TRUE(text.LoadString(s.id)) << s.id;
        EXPECT_STREQ(s.text, text) << s.id;
    }
}

TEST(DialogTemplate, StateImagesAreTwoBoxesOfEighteenBySixteen)
{
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_STATE_IMAGES));
    ASSERT_NE(nullptr, hBmp);
    BITMAP bm = {};
    ::GetObjectA(hBmp, sizeof(bm), &bm);
    ::DeleteObject(hBmp);
    EXPECT_EQ(36, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
}

TEST(DialogTemplate, CommonControlsSixAreActivatedByTheManifest)
{
    // The test program carries the installer's manifest, like the program.
    // The list of the dialog must come from the version 6 library: ask the
    // module that holds the list's window procedure for its version (the W
    // call: the A call may hand out a thunk instead of the address).
    HWND hDlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ORDAVIN_DIALOG), nullptr,
                                     &PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDlg);
    HWND hList = ::GetDlgItem(hDlg, IDC_TITLE_LIST);
    HMODULE hModule = nullptr;
    ASSERT_TRUE(::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     reinterpret_cast<LPCSTR>(::GetClassLongPtrW(hList, GCLP_WNDPROC)), &hModule));
    ::DestroyWindow(hDlg);
    // Wine's side-by-side copy reports 5.81 from DllGetVersion like the plain
    // library, so the proof is where the module was loaded from: the
    // common-controls 6.0 assembly, not the system folder.
    char szPath[MAX_PATH] = "";
    ASSERT_NE(0u, ::GetModuleFileNameA(hModule, szPath, MAX_PATH));
    std::string path = szPath;
    for (char& c : path)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(std::string::npos, path.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << szPath;
}

// ---- the About and notes dialogs ---------------------------------------------
// (A null text is the maker's own wording, not checked here.)

namespace {

const DWORD kCentre = kChild | WS_GROUP | SS_CENTER;
const DWORD kDefault = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;

const Expected kAboutLayout[] = {
    {-1, "Static", kIcon, 0, "#128", 23, 14, 20, 20},
    {-1, "Static", kCentre, 0, nullptr, 60, 9, 126, 25},
    {-1, "Static", kCentre, 0, nullptr, 26, 35, 198, 16},
    {1004, "Static", kRight | SS_NOTIFY, 0, "http://www.quendramark.de", 24, 52, 93, 9},
    {-1, "Static", kCentre, 0, "-", 118, 52, 7, 8},
    {1007, "Static", kLeft | SS_NOTIFY, 0, "Email: info@quendramark.de", 126, 52, 99, 9},
    {-1, "Static", kRule, 0, "", 6, 6, 225, 57},
    {1026, "Static", kLeft, 0, "Nutzungsbedingungen:", 11, 72, 214, 27},
    {-1, "Static", kLeft, 0, "F\xFCr die Nutzung dieser Software bestehen folgende allgemeinen Bedingungen: ", 12, 100, 213, 17},
    {-1, "Static", kLeft, 0, "Sie sind der alleinige Eigent\xFCmer des Produkts. ", 12, 119, 213, 10},
    {-1, "Static", kLeft, 0, nullptr, 12, 130, 214, 25},
    {-1, "Static", kLeft, 0, nullptr, 12, 157, 214, 34},
    {-1, "Static", kLeft, 0, nullptr, 12, 193, 214, 32},
    {-1, "Static", kRule, 0, "", 6, 70, 225, 175},
    {1, "Button", kDefault | WS_GROUP, 0, "OK", 177, 227, 50, 14},
};

const Expected kNotesLayout[] = {
    {1, "Button", kDefault, 0, "Info ...", 7, 180, 50, 13},
    {2, "Button", kButton, 0, "Abbrechen", 141, 179, 50, 14},
    {1030, "Static", kLeft, 0,
     "Mit diesem Programm werden vorab von CD-ROM installierte Titelanwendungen des Volltextretrievalprogramms "
     "Texorra\xAE Professional f\xFCr die Nutzung erweiterter Features wie Parallelrecherche ('Felvanta')  auf "
     "Festplatte eingerichtet.", 26, 8, 164, 50},
    {-1, "Static", kLeft, 0,
     "Nach erfolgter Installation k\xF6nnen Sie von Texorra aus oder \xFC" "ber dieses Programm-Icon innerhalb des "
     "(Programm-) Start-Men\xFCs von Windows\xAE auf die neu \xFC" "bertragene Titel-Anwendung zugreifen.", 26, 74, 164, 34},
    {-1, "Button", kChild | BS_GROUPBOX, 0, "Wichtig!", 7, 109, 184, 65},
    {-1, "Static", kLeft, 0,
     "Bevor Sie einen Installations- bzw. Deinstallationsvorgang mit diesem Programm beginnen, beenden Sie bitte "
     "wegen m\xF6glicher Zugriffskonflikte auf Dateien und Ordner alle aktuell laufenden Windowsprogramme "
     "(insbesondere Texorra\xAE Professional)!", 12, 120, 173, 50},
    {-1, "Static", kChild | SS_BITMAP, 0, "#137", 9, 74, 10, 9},
    {-1, "Static", kChild | SS_BITMAP, 0, "#150", 7, 7, 12, 34},
    {-1, "Static", kChild | SS_BITMAP, 0, "#151", 19, 60, 167, 10},
};

}  // namespace

TEST(DialogTemplate, AboutAndNotesDialogs)
{
    struct { UINT id; const char* caption; short cx, cy; const Expected* layout; size_t n; } dialogs[] = {
        {IDD_ABOUTBOX, "Installer f\xFCr Zorvalia-CD-ROMs", 238, 252, kAboutLayout, sizeof(kAboutLayout) / sizeof(Expected)},
        {IDD_NOTES, "Hinweise:", 198, 198, kNotesLayout, sizeof(kNotesLayout) / sizeof(Expected)},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.caption);
        Template t;
        ASSERT_TRUE(LoadTemplate(&t, d.id));
        EXPECT_EQ(d.caption, t.caption);
        EXPECT_EQ(d.cx, t.cx);
        EXPECT_EQ(d.cy, t.cy);
        EXPECT_EQ(8, t.pointSize);
        EXPECT_EQ("MS Sans Serif", t.font);
        EXPECT_EQ(static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU), t.style);
        ExpectLayout(t, d.layout, d.n);
    }
    // The pictures' sizes, and the link cursor: monochrome (a mask of twice
    // its height, no colour part), 32 x 32, hot spot at the top left.
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    for (auto b : {std::make_pair(137, SIZE{15, 15}), std::make_pair(150, SIZE{18, 103}), std::make_pair(151, SIZE{251, 17})}) {
        HBITMAP hBmp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(b.first));
        BITMAP bm = {};
        EXPECT_NE(0, ::GetObjectA(hBmp, sizeof(bm), &bm)) << b.first;
        ::DeleteObject(hBmp);
        EXPECT_EQ(b.second.cx, bm.bmWidth) << b.first;
        EXPECT_EQ(b.second.cy, bm.bmHeight) << b.first;
    }
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(::LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_LINK_HAND)), &info));
    BITMAP mask = {};
    ::GetObjectA(info.hbmMask, sizeof(mask), &mask);
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(nullptr, info.hbmColor);
    EXPECT_EQ(std::vector<long>({0, 0, 0, 32, 64}),
              std::vector<long>({info.fIcon, static_cast<long>(info.xHotspot), static_cast<long>(info.yHotspot),
                                 mask.bmWidth, mask.bmHeight}));
}
