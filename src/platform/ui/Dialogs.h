#pragma once
// Message boxes, the standard error box, file and font dialogs. Every window reaches
// them through this seam, so tests can script the answers and read back what
// was shown.

#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace Ui {

enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogOptions {
    QString title;
    QString filter;           // "ADIF (*.adi);;All files (*)"
    QString directory;        // where the dialog starts
    QString defaultName;
    QString defaultExtension; // without the dot
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void warning(const QString &text) = 0;                // OK
    virtual void information(const QString &text) = 0;            // OK
    virtual Answer question(const QString &text, bool cancel) = 0; // Yes/No(/Cancel)
    virtual void error(const QString &text) = 0;                  // the standard error box
    virtual QString openFileName(const FileDialogOptions &options) = 0; // "" when cancelled
    virtual QString saveFileName(const FileDialogOptions &options) = 0;
    virtual std::optional<QFont> font(const QFont &initial) = 0; // nothing when cancelled
};

// The dialogs in use; Qt's own unless a test has put others in place.
Dialogs &dialogs();
// Puts `replacement` in place (nullptr restores Qt's); returns the previous one.
Dialogs *setDialogs(Dialogs *replacement);

// The calls the windows make.
void showWarning(const QString &text);
void showInformation(const QString &text);
Answer askYesNoCancel(const QString &text);
Answer askYesNo(const QString &text);
void showError(const QString &text);
QString openFileName(const FileDialogOptions &options);
QString saveFileName(const FileDialogOptions &options);
std::optional<QFont> chooseFont(const QFont &initial);

// A window's font dialog: it keeps its font from one run to the next.
class FontDialog {
public:
    explicit FontDialog(const QFont &font = {}) : font(font) {}
    // True on OK, and `font` is then the chosen one.
    bool execute();
    QFont font;
};

// Real message boxes and file dialogs.
class QtDialogs : public Dialogs {
public:
    void warning(const QString &text) override;
    void information(const QString &text) override;
    Answer question(const QString &text, bool cancel) override;
    void error(const QString &text) override;
    QString openFileName(const FileDialogOptions &options) override;
    QString saveFileName(const FileDialogOptions &options) override;
    std::optional<QFont> font(const QFont &initial) override;
};

// For tests: records every box and answers from queues. An unscripted
// question is answered Cancel (or No without a Cancel button), an unscripted
// file or font dialog is cancelled. Installs itself while it lives.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        enum Kind { Warning, Question, Error, OpenFile, SaveFile, Information, Font } kind;
        QString text;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void warning(const QString &text) override;
    void information(const QString &text) override;
    Answer question(const QString &text, bool cancel) override;
    void error(const QString &text) override;
    QString openFileName(const FileDialogOptions &options) override;
    QString saveFileName(const FileDialogOptions &options) override;
    std::optional<QFont> font(const QFont &initial) override; // records the initial font's family

    std::deque<Answer> answers;
    std::deque<QFont> fonts; // each one chosen with OK
    std::deque<QString> fileNames;
    QList<Shown> shown;
    QList<FileDialogOptions> fileDialogs;
    // Runs for each box as it is shown (while it would be open).
    std::function<void(const Shown &)> onShow;

    QStringList texts(Shown::Kind kind) const;
    QStringList errors() const { return texts(Shown::Error); }
    QStringList warnings() const { return texts(Shown::Warning); }
    QStringList informations() const { return texts(Shown::Information); }
    QStringList questions() const { return texts(Shown::Question); }

private:
    void record(Shown::Kind kind, const QString &text);
    Dialogs *previous_;
};

} // namespace Ui
