// What the demo's walk-through records between its steps, as text lines
// whose differences tell what a step changed.
#pragma once

#include <string>

namespace demo {

struct StatePlaces {
    std::string targetFolder;   // files below it, with their sizes
    std::string startMenu;      // the shortcuts in the Start-menu group
    std::string installLog;     // the installer's log, line by line
    std::string viewerLog;      // what the viewer stand-in was asked to open
};

// Writes one line per file, per registry value below the viewer's per-user
// profile root, per shortcut and per line of the two logs, each block
// sorted; false when the file cannot be written.
bool WriteState(const StatePlaces& places, const std::string& path);

}  // namespace demo
