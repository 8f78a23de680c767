#include "core/RecordBrowsing.h"

namespace RecordBrowsing {

bool editMode(const QString &editCaption)
{
    return editCaption != QLatin1String("Edit");
}

bool picturesFollow(const QString &startupState, bool autoViewImages)
{
    return startupState != QLatin1String("New") && autoViewImages;
}

bool rowStepsRun(const QString &saveState)
{
    return saveState == QLatin1String("Save");
}

bool isNote(const QString &logNotepad)
{
    return !logNotepad.isEmpty() && logNotepad != QLatin1String(" ") && logNotepad != QLatin1String("  ")
        && logNotepad != QLatin1String("   ");
}

std::optional<Notepad> notepadFor(const QString &logNotepad, bool editMode, bool mergeSourceOpen)
{
    if (editMode)
        return std::nullopt;
    if (!isNote(logNotepad))
        return Notepad{};
    return Notepad{logNotepad, !mergeSourceOpen};
}

} // namespace RecordBrowsing
