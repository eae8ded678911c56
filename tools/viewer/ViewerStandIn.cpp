// A stand-in for the full-text viewer, for tests and the demo. It does what
// the installer relies on the viewer for, and nothing more:
//
//   ViewerStandIn /associate
//       registers itself as the program that opens ".V30" and ".V60" files
//   ViewerStandIn /register FILEPATH TITLE [MARK]
//       registers a title: catalogue value (name = file name, data = title)
//       and the title's Path0 (".V30" in the name) or Path60, and iSel
//   ViewerStandIn /setup [STARTMENU [NUVADODIR]]
//       the machine-wide values of the viewer's own setup
//   ViewerStandIn FILE
//       "opens" a title: appends FILE and the working directory as one line
//       "FILE|DIRECTORY" to the log named by ZORVALIA_VIEWER_LOG (or
//       C:\viewer-standin.log)
//
// Registered as the program of the "http", "https" and "mailto" schemes
// (command line "ViewerStandIn.exe" "%1"), it logs the links it is asked to
// open the same way; the tests of the About dialog do that.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kProfileRoot[] = "Software\\Quendramark\\Texorra 3.0 - Professional";

bool SetString(HKEY root, const std::string& key, const char* name, const std::string& value)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool SetDword(HKEY root, const std::string& key, const char* name, DWORD value)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

int Associate()
{
    char szExe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    std::string command = std::string("\"") + szExe + "\" \"%1\"";
    bool ok = SetString(HKEY_CLASSES_ROOT, ".V30", nullptr, "Texorra.Titel") &&
              SetString(HKEY_CLASSES_ROOT, ".V60", nullptr, "Texorra.Titel") &&
              SetString(HKEY_CLASSES_ROOT, "Texorra.Titel\\shell\\open\\command", nullptr, command);
    return ok ? 0 : 1;
}

int Register(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    std::string path = argv[2], title = argv[3];
    size_t slash = path.rfind('\\');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const char* entry = file.find(".V30") != std::string::npos ? "Path0" : "Path60";
    std::string section = std::string(kProfileRoot) + "\\" + title + "\\Ifo";
    bool ok = SetString(HKEY_CURRENT_USER, std::string(kProfileRoot) + "\\V30", file.c_str(), title) &&
              SetString(HKEY_CURRENT_USER, section, entry, path) &&
              SetDword(HKEY_CURRENT_USER, section, "iSel", argc > 4 ? strtoul(argv[4], nullptr, 10) : 0);
    return ok ? 0 : 1;
}

int Setup(int argc, char** argv)
{
    const char key[] = "SOFTWARE\\Quendramark\\Texorra";
    bool ok = true;
    if (argc > 2)
        ok = ok && SetString(HKEY_LOCAL_MACHINE, key, "StartMenu", argv[2]);
    if (argc > 3)
        ok = ok && SetString(HKEY_LOCAL_MACHINE, key, "NuvadoDir", argv[3]);
    return ok ? 0 : 1;
}

int Open(const char* pszFile)
{
    char szDir[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    const char* pszLog = getenv("ZORVALIA_VIEWER_LOG");
    HANDLE h = ::CreateFileA(pszLog && *pszLog ? pszLog : "C:\\viewer-standin.log", FILE_APPEND_DATA,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    std::string line = std::string(pszFile) + "|" + szDir + "\r\n";
    DWORD written = 0;
    ::WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(h);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = __argc;
    char** argv = __argv;
    if (argc < 2)
        return 2;
    if (strcmp(argv[1], "/associate") == 0)
        return Associate();
    if (strcmp(argv[1], "/register") == 0)
        return Register(argc, argv);
    if (strcmp(argv[1], "/setup") == 0)
        return Setup(argc, argv);
    return Open(argv[1]);
}
