// The registry functions over the file-backed store and a table of open key handles.
#include "registry_format.h"
#include "text_file.h"

#include <win32/native_path.h>
#include <win32/registry.h>

#include <seams/registry_file.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <unordered_map>

namespace platform::kernel {
namespace {

constexpr size_t maxFileBytes = 16u << 20;
constexpr DWORD maxValueBytes = 1u << 20;

struct OpenKey {
    std::string path;   // full path as the opener spelled it
    std::string folded; // case-folded full path
    REGSAM access = 0;
};

struct Registry {
    std::mutex lock; // guards everything below
    RegistryKeys keys;
    std::unordered_map<uintptr_t, OpenKey> handles;
    uintptr_t nextHandle = 0x20000;
};

// Never destroyed: keys may be closed while the process exits.
Registry& registry() {
    static auto* store = new Registry;
    return *store;
}

std::string registryPath() {
    if (std::string path = seams::registryFile(); !path.empty())
        return path;
    if (const char* env = std::getenv("ORVANEL_REGISTRY"); env && *env)
        return env;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else
        config = platform::homeFolder() + "/.config";
    return config + "/orvanel/registry.ini";
}

const char* rootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_USERS)
        return "HKEY_USERS";
    if (key == HKEY_CURRENT_CONFIG)
        return "HKEY_CURRENT_CONFIG";
    return nullptr;
}

// The key behind a handle or a root; call with the lock held.
std::optional<OpenKey> resolve(Registry& r, HKEY key) {
    if (const char* root = rootName(key))
        return OpenKey{root, foldCase(root), KEY_ALL_ACCESS};
    auto it = r.handles.find(reinterpret_cast<uintptr_t>(key));
    if (it == r.handles.end())
        return std::nullopt;
    return it->second;
}

// Joins `subKey` to `base`, dropping empty components; null for names with control characters.
std::optional<std::string> joinPath(const std::string& base, LPCTSTR subKey) {
    std::string path = base;
    std::string_view rest = subKey ? subKey : "";
    while (!rest.empty()) {
        const size_t slash = rest.find('\\');
        const std::string_view part = rest.substr(0, slash);
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
        if (part.empty())
            continue;
        for (char c : part)
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
        path += '\\';
        path += part;
    }
    return path;
}

bool isRootPath(const std::string& folded) {
    return folded.find('\\') == std::string::npos;
}

// A key exists when it was stored, when a stored key lies below it, or when it is a root.
bool keyExists(const RegistryKeys& keys, const std::string& folded) {
    if (isRootPath(folded) || keys.count(folded))
        return true;
    auto below = keys.lower_bound(folded + '\\');
    return below != keys.end() && below->first.starts_with(folded + '\\');
}

// Reads the file again, so that every open sees what is stored; call with the lock held.
LSTATUS reload(Registry& r) {
    DWORD error = ERROR_SUCCESS;
    auto text = readWholeFile(registryPath(), maxFileBytes, error);
    if (!text) {
        if (error != ERROR_FILE_NOT_FOUND)
            return static_cast<LSTATUS>(error);
        r.keys.clear();
        return ERROR_SUCCESS;
    }
    r.keys = parseRegistry(*text);
    return ERROR_SUCCESS;
}

// Writes `keys` to the file and makes them current; on failure nothing changes. Lock held.
LSTATUS commit(Registry& r, RegistryKeys keys) {
    DWORD error = ERROR_SUCCESS;
    if (!writeWholeFile(registryPath(), formatRegistry(keys), true, error))
        return static_cast<LSTATUS>(error);
    r.keys = std::move(keys);
    return ERROR_SUCCESS;
}

HKEY addHandle(Registry& r, const std::string& path, REGSAM access) {
    r.nextHandle += 4;
    r.handles[r.nextHandle] = OpenKey{path, foldCase(path), access};
    return reinterpret_cast<HKEY>(r.nextHandle);
}

RegistryValue* findValue(RegistryKey& key, std::string_view name) {
    const std::string folded = foldCase(name);
    for (RegistryValue& value : key.values)
        if (foldCase(value.name) == folded)
            return &value;
    return nullptr;
}

// Runs `body` under the store's lock, turning an allocation failure into its code.
template <class Body> LSTATUS locked(Body body) {
    Registry& r = registry();
    try {
        std::lock_guard guard(r.lock);
        return body(r);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

} // namespace
} // namespace platform::kernel

using namespace platform::kernel;

LSTATUS RegOpenKeyEx(HKEY key, LPCTSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return locked([&](Registry& r) -> LSTATUS {
        auto base = resolve(r, key);
        if (!base)
            return ERROR_INVALID_HANDLE;
        if (LSTATUS status = reload(r); status != ERROR_SUCCESS)
            return status;
        auto path = joinPath(base->path, subKey);
        if (!path)
            return ERROR_INVALID_PARAMETER;
        if (!keyExists(r.keys, foldCase(*path)))
            return ERROR_FILE_NOT_FOUND;
        *result = addHandle(r, *path, access);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegCreateKeyEx(HKEY key, LPCTSTR subKey, DWORD reserved, LPTSTR, DWORD options, REGSAM access,
                       LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (!result || reserved != 0 || options != REG_OPTION_NON_VOLATILE)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return locked([&](Registry& r) -> LSTATUS {
        auto parent = resolve(r, key);
        if (!parent)
            return ERROR_INVALID_HANDLE;
        if (LSTATUS status = reload(r); status != ERROR_SUCCESS)
            return status;
        auto path = joinPath(parent->path, subKey);
        if (!path)
            return ERROR_INVALID_PARAMETER;
        const bool existed = keyExists(r.keys, foldCase(*path));
        if (!existed) {
            if (!(parent->access & KEY_CREATE_SUB_KEY))
                return ERROR_ACCESS_DENIED;
            // Store the key and every key on its way, each with the caller's spelling.
            RegistryKeys keys = r.keys;
            for (size_t slash = path->find('\\'); slash != std::string::npos;
                 slash = path->find('\\', slash + 1)) {
                const std::string step = path->substr(0, path->find('\\', slash + 1));
                RegistryKey& entry = keys[foldCase(step)];
                if (entry.path.empty())
                    entry.path = step;
            }
            if (LSTATUS status = commit(r, std::move(keys)); status != ERROR_SUCCESS)
                return status;
        }
        if (disposition)
            *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
        *result = addHandle(r, *path, access);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryValueEx(HKEY key, LPCTSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (reserved || (data && !size))
        return ERROR_INVALID_PARAMETER;
    return locked([&](Registry& r) -> LSTATUS {
        auto open = resolve(r, key);
        if (!open)
            return ERROR_INVALID_HANDLE;
        if (!(open->access & KEY_QUERY_VALUE))
            return ERROR_ACCESS_DENIED;
        auto stored = r.keys.find(open->folded);
        RegistryValue* value = stored == r.keys.end() ? nullptr : findValue(stored->second, name ? name : "");
        if (!value)
            return ERROR_FILE_NOT_FOUND;
        if (type)
            *type = value->type;
        const auto bytes = static_cast<DWORD>(value->data.size());
        if (!size)
            return ERROR_SUCCESS;
        if (data && *size < bytes) {
            *size = bytes;
            return ERROR_MORE_DATA;
        }
        if (data)
            std::memcpy(data, value->data.data(), bytes);
        *size = bytes;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegSetValueEx(HKEY key, LPCTSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    if (reserved != 0 || (size > 0 && !data) || size > maxValueBytes)
        return ERROR_INVALID_PARAMETER;
    return locked([&](Registry& r) -> LSTATUS {
        auto open = resolve(r, key);
        if (!open)
            return ERROR_INVALID_HANDLE;
        if (!(open->access & KEY_SET_VALUE))
            return ERROR_ACCESS_DENIED;
        RegistryKeys keys = r.keys;
        RegistryKey& stored = keys[open->folded];
        if (stored.path.empty())
            stored.path = open->path;
        const std::string valueName = name ? name : "";
        RegistryValue* value = findValue(stored, valueName);
        if (!value) {
            stored.values.push_back(RegistryValue{valueName, 0, {}});
            value = &stored.values.back();
        }
        value->type = type;
        value->data = size ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
        return commit(r, std::move(keys));
    });
}

LSTATUS RegCloseKey(HKEY key) {
    if (rootName(key))
        return ERROR_SUCCESS;
    return locked([&](Registry& r) -> LSTATUS {
        return r.handles.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
}
