#include "contest/UContest.h"

TContConf *ContConf = nullptr;

TContConf::TContConf() : Ui::Window(QStringLiteral("ContConf"), QStringLiteral("Contest Configuration")) {}
