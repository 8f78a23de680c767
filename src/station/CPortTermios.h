#pragma once
// Turning the serial line settings into a termios record (kept apart from
// CPort.h: <termios.h> and the kernel's termbits clash).

#include "station/CPort.h"

#include <termios.h>

// Fills `t` for `settings`: raw input and output, CLOCAL|CREAD, HUPCL. A
// speed without its own B-constant leaves the speed bits at B38400 and
// returns true: it then goes through termios2 (setCustomSpeed).
bool toTermios(const ComLineSettings &settings, termios &t);

// The termios device behind a serial port.
std::unique_ptr<ComDevice> openTermiosDevice(const QString &path, int &error);
