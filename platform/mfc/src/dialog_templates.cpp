// The program's dialog resources: templates registered by id or by name.
#include <mfc/dialog_manager.h>

#include <map>
#include <variant>

namespace platform::mfc {
namespace {

using ResourceName = std::variant<UINT, std::string>;

std::map<ResourceName, DialogTemplate>& templates()
{
    static std::map<ResourceName, DialogTemplate> map;
    return map;
}

ResourceName keyOf(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    return std::string(name);
}

} // namespace

void registerDialogTemplate(UINT id, DialogTemplate dialog) { templates()[ResourceName(id)] = std::move(dialog); }

void registerDialogTemplate(const char* name, DialogTemplate dialog)
{
    templates()[keyOf(name)] = std::move(dialog);
}

const DialogTemplate* findDialogTemplate(LPCSTR name)
{
    if (!name)
        return nullptr;
    const auto it = templates().find(keyOf(name));
    return it == templates().end() ? nullptr : &it->second;
}

} // namespace platform::mfc
