// The folder browser: the seam or the Qt dialog, and the chosen folder as an item in task memory.
#include <mfc/folder_browser.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <seams/file_dialog.h>

#include "file_dialog_qt.h"

LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info)
{
    if (!info)
        return nullptr;
    const platform::seams::FolderDialogCall call{info->hwndOwner, info->lpszTitle ? info->lpszTitle : "",
                                                    info->ulFlags};
    const auto& answer = platform::seams::folderDialogAnswer();
    const std::optional<std::string> chosen = answer ? answer(call) : platform::mfc::showQtFolderDialog(call);
    if (!chosen || chosen->empty())
        return nullptr;
    if (info->pszDisplayName) {
        const std::string name = chosen->substr(chosen->find_last_of('\\') == std::string::npos
                                                    ? 0
                                                    : chosen->find_last_of('\\') + 1);
        std::snprintf(info->pszDisplayName, MAX_PATH, "%s", name.c_str());
    }
    auto* item = static_cast<char*>(std::malloc(chosen->size() + 1));
    if (!item)
        return nullptr;
    std::memcpy(item, chosen->c_str(), chosen->size() + 1);
    return reinterpret_cast<LPITEMIDLIST>(item);
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST item, LPSTR path)
{
    if (!item || !path)
        return FALSE;
    const auto* text = reinterpret_cast<const char*>(item);
    const size_t length = std::strlen(text);
    if (length + 1 > MAX_PATH) {
        path[0] = '\0';
        return FALSE;
    }
    std::memcpy(path, text, length + 1);
    return TRUE;
}
