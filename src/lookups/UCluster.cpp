#include "lookups/UCluster.h"

TFDX_Cluster *FDX_Cluster = nullptr;

TFDX_Cluster::TFDX_Cluster() : Ui::Window(QStringLiteral("FDX_Cluster"), QStringLiteral("DX Cluster")) {}
