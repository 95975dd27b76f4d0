// COrvanelApp: the application object, which runs the main dialog and ends with it.
#pragma once

#include "framework.h"

class COrvanelApp : public CWinApp {
public:
    COrvanelApp();

    // Runs the main dialog modally and returns FALSE, so that the program ends with it. GUI thread.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern COrvanelApp theApp;
