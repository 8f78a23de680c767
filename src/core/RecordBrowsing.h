#pragma once
// Rules of record browsing: what the main window shows of the log row that
// has just become current.

#include <QString>
#include <optional>

namespace RecordBrowsing {

// Edit mode: the edit button reads anything but "Edit" while a log row is
// being edited. The save and the browsing ask this one rule.
bool editMode(const QString &editCaption);

// The picture follows the row once start-up has activated the main window
// ("New" before) and while "Auto View Images" is checked.
bool picturesFollow(const QString &startupState, bool autoViewImages);

// The row's other steps run only while no save or clear runs ("Save").
bool rowStepsRun(const QString &saveState);

// Whether a notepad text counts as a note: empty and one to three blanks
// are what saves of an empty notepad leave behind.
bool isNote(const QString &logNotepad);

struct Notepad {
    QString text;
    bool shown = false; // the notepad box ticked, so the notepad is open
    bool operator==(const Notepad &) const = default;
};

// The notepad for a browsed row, or nothing in edit mode, where the notepad
// being edited must not take another contact's text. With the source log of
// a merge open a note fills the notepad without opening it.
std::optional<Notepad> notepadFor(const QString &logNotepad, bool editMode, bool mergeSourceOpen);

} // namespace RecordBrowsing
