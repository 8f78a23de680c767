#pragma once
// The program block: every window is created once, in a fixed order, and
// lives until the program ends.

#include <QStringList>

// Creates the window set in its order. Each window's creation handler runs
// inside the handler guard, so a failing one is reported and start-up goes on.
void createWindowSet();
// Destroys the window set (the tables close with the data module).
void destroyWindowSet();
// Object names in creation order.
QStringList windowSetOrder();
