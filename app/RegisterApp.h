#pragma once
// The application: runs the main dialog once and ends when it closes.
#include "framework/WinApp.h"

class CRegisterApp : public CWinApp {
public:
    CRegisterApp();
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
};
