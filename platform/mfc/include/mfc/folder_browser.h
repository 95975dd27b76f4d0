// The shell's folder browser: SHBrowseForFolder and SHGetPathFromIDList.
#pragma once

#include <win32/user.h>

#define BIF_RETURNONLYFSDIRS 0x00000001

// A chosen folder: its path, in task memory.
struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

typedef int(CALLBACK* BFFCALLBACK)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFO {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName; // receives the folder's own name (MAX_PATH bytes) when given
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn; // not called
    LPARAM lParam;
    int iImage;
};
typedef BROWSEINFO* LPBROWSEINFO;
typedef BROWSEINFO BROWSEINFOA;

// A Qt folder dialog, or the file-dialog seam's folder answer when a test installed one. The chosen folder,
// freed with CoTaskMemFree (plain free), or null for Cancel. GUI thread.
LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info);
#define SHBrowseForFolderA SHBrowseForFolder
// Copies the folder's path in the system's form ("\home\user\pictures") into `path` (MAX_PATH bytes);
// FALSE for a null item or a path that does not fit. Any thread.
BOOL SHGetPathFromIDList(LPCITEMIDLIST item, LPSTR path);
#define SHGetPathFromIDListA SHGetPathFromIDList
