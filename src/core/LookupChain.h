#pragma once
// Rules of the look-up chain that runs when the operator leaves the callsign
// field: which look-ups run, when the confirmation window is offered, and what
// the external base's name and address give the entry fields.

#include <QString>

namespace LookupChain {

struct Settings {
    bool internal1Auto = false; // "Auto" of internal base 1 (Cbook3, then Cbook2)
    bool internal2Auto = false; // "Auto" of internal base 2 (CBook)
    bool contestRunning = false;
    bool repetitionAuto = false; // "Auto" of the repetition of connection
    bool repetitionView = false; // the contest window shows the repetitions instead
    bool externalAuto = false;
};

struct Steps {
    bool internal1 = false;
    bool internal2 = false;
    bool earlierContacts = false;
    bool externalBase = false;
    // The exchange file is rewritten on every run.
};

// The look-ups of one run, in their order: the callbooks, then (only while no
// contest runs) the own log and the external base.
Steps steps(const Settings &settings);

// Whether the confirmation window offers the callbook's name and QTH back:
// both were found, a callbook looks up by itself, and the entry now differs.
bool offersConfirmation(const QString &foundName, const QString &foundQth, bool anyCallbookAuto,
                        const QString &entryName, const QString &entryQth);

// The external base's "Surname First" name gives "--First"; a name without a
// blank is taken whole after "--".
QString externalName(const QString &name);
// The town of the address: the text before its first blank, less a comma (or
// other mark) just before that blank, after "--". "Kyiv, Main st" gives
// "--Kyiv"; an address without a blank, or starting with one, gives "--".
QString externalQth(const QString &address);

} // namespace LookupChain
