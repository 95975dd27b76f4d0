// The class table and CoCreateInstance.
#include <algorithm>
#include <mutex>
#include <vector>

#include <dshow/class_table.h>

#include "builtin_classes.h"
#include "com_init.h"

namespace {

struct ClassEntry {
    int token;
    CLSID clsid;
    platform::dshow::ClassFactory factory;
};

struct ClassTable {
    std::mutex lock; // guards entries and nextToken
    std::vector<ClassEntry> entries;
    int nextToken = 1;
};

ClassTable& table() {
    static ClassTable* instance = [] {
        auto* t = new ClassTable;
        for (auto& builtin : platform::dshow::builtinClasses())
            t->entries.push_back({t->nextToken++, builtin.clsid, builtin.factory});
        return t;
    }();
    return *instance;
}

} // namespace

namespace platform::dshow {

int registerClass(const CLSID& clsid, ClassFactory factory) {
    ClassTable& t = table();
    std::lock_guard guard(t.lock);
    t.entries.push_back({t.nextToken, clsid, std::move(factory)});
    return t.nextToken++;
}

void unregisterClass(int token) {
    ClassTable& t = table();
    std::lock_guard guard(t.lock);
    std::erase_if(t.entries, [token](const ClassEntry& e) { return e.token == token; });
}

} // namespace platform::dshow

// The newest registration of the class wins; its factory runs outside the table's lock.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!platform::dshow::comInitialisedOnThisThread())
        return CO_E_NOTINITIALIZED;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    platform::dshow::ClassFactory factory;
    {
        ClassTable& t = table();
        std::lock_guard guard(t.lock);
        auto it = std::find_if(t.entries.rbegin(), t.entries.rend(),
                               [&](const ClassEntry& e) { return e.clsid == clsid; });
        if (it == t.entries.rend())
            return REGDB_E_CLASSNOTREG;
        factory = it->factory;
    }
    return factory(riid, object);
}
