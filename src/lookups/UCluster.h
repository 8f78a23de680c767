#pragma once
// DX spot window.

#include "platform/ui/Window.h"

class TFDX_Cluster : public Ui::Window {
    Q_OBJECT
public:
    TFDX_Cluster();
};

extern TFDX_Cluster *FDX_Cluster;
