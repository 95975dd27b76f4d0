// CWinThread and run-time class records for classes made by name (DECLARE_DYNCREATE).
#pragma once

#include <mfc/message_map.h>

// A class record: its name and a factory for an object of it (null without dynamic creation).
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    CCmdTarget* (*m_pfnCreateObject)();
    // A new object of the class, owned by the caller; null without a factory.
    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)
#define DECLARE_DYNCREATE(theClass)                                                                          \
public:                                                                                                      \
    static const CRuntimeClass class##theClass;                                                              \
    static CCmdTarget* CreateObject();
#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                             \
    CCmdTarget* theClass::CreateObject() { return new theClass; }                                            \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject};

// A thread object: InitInstance, then Run, then ExitInstance. Only the GUI thread has a message queue
// here, so Run has no loop to serve and ends at once with ExitInstance. Any thread.
class CWinThread : public CCmdTarget {
public:
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    virtual int Run() { return ExitInstance(); }

    BOOL m_bAutoDelete = TRUE;
};
