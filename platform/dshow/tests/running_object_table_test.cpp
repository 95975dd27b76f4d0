// The running object table with item monikers.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/com_ptr.h>
#include <dshow/dshow.h>

#include "com_test_support.h"

namespace {

using namespace platform::dshow;
using RunningObjectTableTest = testing_dshow::ComTest;

ComPtr<IRunningObjectTable> runningObjectTable() {
    ComPtr<IRunningObjectTable> table;
    EXPECT_EQ(GetRunningObjectTable(0, table.put()), S_OK);
    return table;
}

// An object to enter in the table.
ComPtr<IUnknown> newGraph() {
    ComPtr<IUnknown> graph;
    EXPECT_EQ(
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, graph.putVoid()),
        S_OK);
    return graph;
}

ComPtr<IMoniker> item(const wchar_t* name) {
    ComPtr<IMoniker> moniker;
    EXPECT_EQ(CreateItemMoniker(L"!", name, moniker.put()), S_OK);
    return moniker;
}

TEST_F(RunningObjectTableTest, EntryIsFoundByNameUntilRevoked) {
    ComPtr<IRunningObjectTable> table = runningObjectTable();
    ComPtr<IUnknown> graph = newGraph();

    LPOLESTR display = nullptr;
    ASSERT_EQ(item(L"FilterGraph 0x1 pid 0x2")->GetDisplayName(nullptr, nullptr, &display), S_OK);
    EXPECT_STREQ(display, L"!FilterGraph 0x1 pid 0x2");
    CoTaskMemFree(display);

    DWORD cookie = 0;
    ASSERT_EQ(table->Register(0, graph.get(), item(L"FilterGraph 0x1 pid 0x2").get(), &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(table->IsRunning(item(L"FilterGraph 0x1 pid 0x2").get()), S_OK);
    EXPECT_EQ(table->IsRunning(item(L"FilterGraph 0x3 pid 0x2").get()), S_FALSE);
    ComPtr<IUnknown> found;
    ASSERT_EQ(table->GetObject(item(L"FilterGraph 0x1 pid 0x2").get(), found.put()), S_OK);
    EXPECT_EQ(found, graph);

    EXPECT_EQ(table->Revoke(cookie), S_OK);
    EXPECT_EQ(table->Revoke(cookie), E_INVALIDARG);
    EXPECT_EQ(table->GetObject(item(L"FilterGraph 0x1 pid 0x2").get(), found.put()), MK_E_UNAVAILABLE);
    EXPECT_EQ(GetRunningObjectTable(1, table.put()), E_INVALIDARG);
}

// The enumeration lists the names of the entries of its moment, oldest first, and not revoked ones.
TEST_F(RunningObjectTableTest, EnumerationNamesTheEntries) {
    ComPtr<IRunningObjectTable> table = runningObjectTable();
    ComPtr<IUnknown> graph = newGraph();
    auto names = [&] {
        std::vector<std::wstring> listed;
        ComPtr<IEnumMoniker> monikers;
        EXPECT_EQ(table->EnumRunning(monikers.put()), S_OK);
        ComPtr<IMoniker> moniker;
        while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
            LPOLESTR display = nullptr;
            EXPECT_EQ(moniker->GetDisplayName(nullptr, nullptr, &display), S_OK);
            listed.emplace_back(display);
            CoTaskMemFree(display);
        }
        return listed;
    };
    DWORD first = 0, second = 0;
    table->Register(0, graph.get(), item(L"first").get(), &first);
    table->Register(0, graph.get(), item(L"second").get(), &second);
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"!first", L"!second"}));
    table->Revoke(first);
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"!second"}));
    table->Revoke(second);
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(table->EnumRunning(nullptr), E_POINTER);
}

TEST_F(RunningObjectTableTest, OnlyKeepAliveEntriesHoldAReference) {
    ComPtr<IRunningObjectTable> table = runningObjectTable();
    ComPtr<IUnknown> graph = newGraph();
    auto count = [&] {
        graph->AddRef();
        return graph->Release();
    };
    DWORD weak = 0, strong = 0;
    table->Register(0, graph.get(), item(L"weak").get(), &weak);
    EXPECT_EQ(count(), 1u);
    table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph.get(), item(L"strong").get(), &strong);
    EXPECT_EQ(count(), 2u);
    table->Revoke(strong);
    table->Revoke(weak);
    EXPECT_EQ(count(), 1u);
}

} // namespace
