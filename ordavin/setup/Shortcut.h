// Start-menu shortcuts of installed titles.
//
// The group folder is discovered once, while the main dialog initialises,
// from the first of three registry values that can be read: the viewer's
// own "StartMenu" (used unchanged), else the all-users "Common Programs"
// and else the user's "Programs" folder, each followed by
// "\Texorra - Quendramark".
#pragma once

#include "../../framework/String.h"

// The group folder; empty when no source could be read.
extern char g_szStartGroup[MAX_PATH];

// A link name holds at most this many characters; longer names are cut.
const int LINK_NAME_MAX = 127;

// Fills g_szStartGroup from the first readable source; leaves it empty
// when there is none. Shows nothing.
void DiscoverStartGroup();

// The link name a shortcut file gets for a title name or volume label: cut
// to LINK_NAME_MAX characters, and made a plain file name. Every character
// that a file name cannot hold (\ / : * ? " < > | and control characters)
// and every dot of a run of two or more dots becomes "_", so the shortcut
// can only land in the group folder.
CString SafeLinkName(LPCSTR pszName);

// The shortcut file's path: group folder, "\", link name, " (HD).lnk".
// Empty when it would not fit MAX_PATH - 1 characters: cutting would
// change the file's name.
CString ShortcutPath(LPCSTR pszGroup, LPCSTR pszLinkName);

// The icon path for the shortcut: the executable's path with its
// extension (after the file name's last dot) replaced by ".exe".
CString ShortcutIconPath(LPCSTR pszModulePath);

// Saves a shortcut to pszTitleFile in the group folder, named after
// pszLinkName (see SafeLinkName), with the executable's icon 7; records its
// path as "lnk" in the title's profile section and logs the group folder
// and the shortcut. A failure leaves no "lnk" entry and shows nothing.
// Nothing is made while g_szStartGroup is empty. The thread must have
// initialised COM.
void CreateTitleShortcut(LPCSTR pszTitleFile, LPCSTR pszLinkName);
