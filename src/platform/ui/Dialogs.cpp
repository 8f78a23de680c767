#include "platform/ui/Dialogs.h"

#include "platform/ui/Window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>

namespace Ui {

namespace {

QString caption()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Tarnel") : name;
}

Dialogs *&current()
{
    static Dialogs *installed = nullptr;
    return installed;
}

QString withExtension(const QString &name, const FileDialogOptions &options)
{
    if (name.isEmpty() || options.defaultExtension.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + u'.' + options.defaultExtension;
}

// Every box shows its text as it is: texts from files, pages and tables (an
// ADIF record's call, a table file's name) are never read as markup.
QMessageBox::StandardButton showBox(QMessageBox::Icon icon, const QString &text,
                                    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption(), text, buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // A short message would make the box too narrow for its caption; the box
    // sets its own size, so room is asked for inside it.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth(&box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

Dialogs &dialogs()
{
    static QtDialogs qtDialogs;
    return current() ? *current() : qtDialogs;
}

Dialogs *setDialogs(Dialogs *replacement)
{
    Dialogs *previous = current();
    current() = replacement;
    return previous;
}

void showWarning(const QString &text) { dialogs().warning(text); }
void showInformation(const QString &text) { dialogs().information(text); }
Answer askYesNoCancel(const QString &text) { return dialogs().question(text, true); }
Answer askYesNo(const QString &text) { return dialogs().question(text, false); }
void showError(const QString &text) { dialogs().error(text); }
QString openFileName(const FileDialogOptions &options) { return dialogs().openFileName(options); }
QString saveFileName(const FileDialogOptions &options) { return dialogs().saveFileName(options); }
std::optional<QFont> chooseFont(const QFont &initial) { return dialogs().font(initial); }

bool FontDialog::execute()
{
    const std::optional<QFont> chosen = chooseFont(font);
    if (chosen)
        font = *chosen;
    return chosen.has_value();
}

// ------------------------------------------------------------------ Qt's

void QtDialogs::warning(const QString &text)
{
    showBox(QMessageBox::Warning, text, QMessageBox::Ok);
}

void QtDialogs::information(const QString &text)
{
    showBox(QMessageBox::Information, text, QMessageBox::Ok);
}

Answer QtDialogs::question(const QString &text, bool cancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (cancel)
        buttons |= QMessageBox::Cancel;
    switch (showBox(QMessageBox::Question, text, buttons)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return cancel ? Answer::Cancel : Answer::No;
    }
}

void QtDialogs::error(const QString &text)
{
    showBox(QMessageBox::Critical, text, QMessageBox::Ok);
}

QString QtDialogs::openFileName(const FileDialogOptions &options)
{
    QString start = options.directory;
    if (!options.defaultName.isEmpty())
        start = QDir(start).filePath(options.defaultName);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), options.title, start, options.filter);
}

QString QtDialogs::saveFileName(const FileDialogOptions &options)
{
    QString start = options.directory;
    if (!options.defaultName.isEmpty())
        start = QDir(start).filePath(options.defaultName);
    return withExtension(
        QFileDialog::getSaveFileName(QApplication::activeWindow(), options.title, start, options.filter), options);
}

std::optional<QFont> QtDialogs::font(const QFont &initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return chosen;
}

// -------------------------------------------------------------- scripted

ScriptedDialogs::ScriptedDialogs() : previous_(setDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogs(previous_);
}

void ScriptedDialogs::record(Shown::Kind kind, const QString &text)
{
    shown.append({kind, text});
    if (onShow)
        onShow(shown.last());
}

void ScriptedDialogs::warning(const QString &text)
{
    record(Shown::Warning, text);
}

void ScriptedDialogs::information(const QString &text)
{
    record(Shown::Information, text);
}

Answer ScriptedDialogs::question(const QString &text, bool cancel)
{
    record(Shown::Question, text);
    if (answers.empty())
        return cancel ? Answer::Cancel : Answer::No;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedDialogs::error(const QString &text)
{
    record(Shown::Error, text);
}

QString ScriptedDialogs::openFileName(const FileDialogOptions &options)
{
    fileDialogs.append(options);
    record(Shown::OpenFile, options.title);
    if (fileNames.empty())
        return {};
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedDialogs::saveFileName(const FileDialogOptions &options)
{
    fileDialogs.append(options);
    record(Shown::SaveFile, options.title);
    if (fileNames.empty())
        return {};
    const QString name = fileNames.front();
    fileNames.pop_front();
    return withExtension(name, options);
}

std::optional<QFont> ScriptedDialogs::font(const QFont &initial)
{
    record(Shown::Font, initial.family());
    if (fonts.empty())
        return std::nullopt;
    const QFont chosen = fonts.front();
    fonts.pop_front();
    return chosen;
}

QStringList ScriptedDialogs::texts(Shown::Kind kind) const
{
    QStringList result;
    for (const Shown &s : shown)
        if (s.kind == kind)
            result << s.text;
    return result;
}

} // namespace Ui
