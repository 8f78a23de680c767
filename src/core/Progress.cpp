#include "core/Progress.h"

TProgress *Progress = nullptr;

TProgress::TProgress() : Ui::Window(QStringLiteral("Progress"), QStringLiteral("Progress")) {}
