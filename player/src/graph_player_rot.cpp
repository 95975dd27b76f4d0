// CGraphPlayer's entry in the running object table, where graph tools find the running graph.
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cwchar>

#include <dshow/moniker.h>

#include "graph_player.h"

namespace {

constexpr std::size_t kNameChars = 256;

} // namespace

// Enters the graph as "FilterGraph <graph pointer> pid <process id>" (the pointer in upper-case hex,
// zero-padded to its full width as a wide formatter's %08p gives it), held weakly. 1 when it was
// entered; m_dwRotRegister keeps the cookie.
int CGraphPlayer::AddToRot() {
    IRunningObjectTable* table = nullptr;
    if (FAILED(GetRunningObjectTable(0, &table)))
        return 0;
    WCHAR name[kNameChars];
    std::swprintf(name, kNameChars, L"FilterGraph %016" PRIXPTR L" pid %08x",
                  reinterpret_cast<std::uintptr_t>(m_pGraph), static_cast<unsigned>(getpid()));
    IMoniker* moniker = nullptr;
    HRESULT hr = CreateItemMoniker(L"!", name, &moniker);
    if (SUCCEEDED(hr)) {
        hr = table->Register(0, m_pGraph, moniker, &m_dwRotRegister);
        moniker->Release();
    }
    table->Release();
    return SUCCEEDED(hr) ? 1 : 0;
}

// Revokes the entry (also when none was made) and clears the cookie.
int CGraphPlayer::RemoveFromRot() {
    IRunningObjectTable* table = nullptr;
    if (FAILED(GetRunningObjectTable(0, &table)))
        return 0;
    table->Revoke(m_dwRotRegister);
    table->Release();
    m_dwRotRegister = 0;
    return 1;
}
