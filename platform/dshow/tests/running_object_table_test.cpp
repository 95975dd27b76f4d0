// The running object table with item monikers.
#include <gtest/gtest.h>

#include <dshow/com_ptr.h>
#include <dshow/dshow.h>

#include "com_test_support.h"

namespace {

using namespace platform::dshow;
using RunningObjectTableTest = testing_dshow::ComTest;

ComPtr<IMoniker> item(const wchar_t* name) {
    ComPtr<IMoniker> moniker;
    EXPECT_EQ(CreateItemMoniker(L"!", name, moniker.put()), S_OK);
    return moniker;
}

TEST_F(RunningObjectTableTest, EntryIsFoundByNameUntilRevoked) {
    ComPtr<IRunningObjectTable> table;
    ASSERT_EQ(GetRunningObjectTable(0, table.put()), S_OK);
    ComPtr<IUnknown> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, graph.putVoid()), S_OK);

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

TEST_F(RunningObjectTableTest, OnlyKeepAliveEntriesHoldAReference) {
    ComPtr<IRunningObjectTable> table;
    ASSERT_EQ(GetRunningObjectTable(0, table.put()), S_OK);
    ComPtr<IUnknown> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, graph.putVoid()), S_OK);
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
