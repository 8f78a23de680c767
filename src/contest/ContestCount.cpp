#include "contest/ContestCount.h"

#include "core/ContactSave.h"
#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

namespace ContestCount {

// One field read in one statement, without moving the cursor: a move per row
// costs several times the sum, and the log grid need not be detached.
Total recount(Db::Table &log)
{
    double sum = 0;
    QString error;
    if (log.isActive()) {
        for (const QString &text : log.fieldTexts(QStringLiteral("Log4"))) {
            if (text.isEmpty())
                continue;
            const auto value = TextFormat::parseNumber(text);
            if (!value) {
                error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
                break;
            }
            sum += *value;
        }
    }
    return {TextFormat::numberText(sum), error};
}

std::optional<QString> sentAtBegin(const QString &latestSent, const QString &step)
{
    if (latestSent.isEmpty() || !(latestSent.front() >= u'0' && latestSent.front() <= u'9'))
        return std::nullopt;
    return ContactSave::nextSentNumber(latestSent, step);
}

} // namespace ContestCount
