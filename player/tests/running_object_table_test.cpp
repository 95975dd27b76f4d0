// The player's graph in the running object table while the player exists.
#include <cinttypes>
#include <cstdio>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include <dshow/moniker.h>

#include "graph_player.h"

class GraphPlayerProbe {
public:
    static IGraphBuilder* graph(const CGraphPlayer& player) { return player.m_pGraph; }
    static DWORD cookie(const CGraphPlayer& player) { return player.m_dwRotRegister; }
};

namespace vidora_test {
namespace {

// The object the table holds under "!FilterGraph <pointer> pid <pid>", or null.
IUnknown* registered(IGraphBuilder* graph) {
    wchar_t name[256];
    std::swprintf(name, 256, L"FilterGraph %016" PRIXPTR L" pid %08x",
                  reinterpret_cast<std::uintptr_t>(graph), static_cast<unsigned>(getpid()));
    IRunningObjectTable* table = nullptr;
    EXPECT_EQ(GetRunningObjectTable(0, &table), S_OK);
    IMoniker* moniker = nullptr;
    EXPECT_EQ(CreateItemMoniker(L"!", name, &moniker), S_OK);
    IUnknown* object = nullptr;
    if (FAILED(table->GetObject(moniker, &object)))
        object = nullptr;
    else
        object->Release();
    moniker->Release();
    table->Release();
    return object;
}

// The entry names the graph and this process and goes with ReleaseInterfaces; COM is balanced.
TEST(RunningObjectTableTest, EntryLivesWithTheGraph) {
    auto* player = new CGraphPlayer();
    ASSERT_EQ(player->CreateGraph(), 1);
    IGraphBuilder* graph = GraphPlayerProbe::graph(*player);
    ASSERT_NE(graph, nullptr);
    EXPECT_NE(GraphPlayerProbe::cookie(*player), 0u);
    EXPECT_EQ(registered(graph), graph);
    player->ReleaseInterfaces();
    EXPECT_EQ(registered(graph), nullptr); // the pointer only names the entry here
    EXPECT_EQ(GraphPlayerProbe::cookie(*player), 0u);
    EXPECT_EQ(GraphPlayerProbe::graph(*player), nullptr);
    delete player;
    // The player's CoUninitialize balanced its CoInitialize: COM is no longer initialised here.
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_NOTINITIALIZED);
}

// Without COM on the thread beforehand the player works on its own initialisation, and a second
// player on the same thread keeps COM alive after the first goes.
TEST(RunningObjectTableTest, EachPlayerInitialisesCom) {
    auto* first = new CGraphPlayer();
    auto* second = new CGraphPlayer();
    EXPECT_EQ(first->CreateGraph(), 1);
    first->ReleaseInterfaces();
    delete first;
    EXPECT_EQ(second->CreateGraph(), 1);
    second->ReleaseInterfaces();
    delete second;
}

} // namespace
} // namespace vidora_test
