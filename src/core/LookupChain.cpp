#include "core/LookupChain.h"

namespace LookupChain {

Steps steps(const Settings &settings)
{
    Steps s;
    s.internal1 = settings.internal1Auto;
    s.internal2 = settings.internal2Auto;
    if (!settings.contestRunning) {
        s.earlierContacts = settings.repetitionAuto && !settings.repetitionView;
        s.externalBase = settings.externalAuto;
    }
    return s;
}

bool offersConfirmation(const QString &foundName, const QString &foundQth, bool anyCallbookAuto,
                        const QString &entryName, const QString &entryQth)
{
    return !foundName.isEmpty() && !foundQth.isEmpty() && anyCallbookAuto &&
           (entryQth != foundQth || entryName != foundName);
}

QString externalName(const QString &name)
{
    const qsizetype blank = name.indexOf(u' ');
    return QStringLiteral("--") + (blank < 0 ? name : name.mid(blank + 1));
}

QString externalQth(const QString &address)
{
    const qsizetype blank = address.indexOf(u' ');
    if (blank <= 0)
        return QStringLiteral("--");
    QString town = address.left(blank);
    // Only a mark such as a comma is dropped, never the town's last letter.
    if (!town.back().isLetterOrNumber())
        town.chop(1);
    return QStringLiteral("--") + town;
}

} // namespace LookupChain
