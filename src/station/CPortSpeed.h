#pragma once
// Speeds without a B-constant, through termios2. Its source includes only
// <asm/termbits.h>, which clashes with <termios.h>.

// 0 or an errno value.
int setCustomSpeed(int fd, unsigned speed);
