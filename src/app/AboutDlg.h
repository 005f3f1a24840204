// The About box: a template and nothing else.
#pragma once

#include "platform/Dialogs.h"

class CAboutDlg {
public:
    static const platform::DialogTemplate& Template();
};
