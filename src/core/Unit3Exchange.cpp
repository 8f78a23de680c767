// Log > Import > ADIF, Log > Export > ADIF and Log > Export > Text File: the
// dialogs and the windows around the walks of exchange/LogImport and
// exchange/LogExport.

#include "core/Unit3.h"

#include "core/Progress.h"
#include "core/Unit2.h"
#include "exchange/AdifReader.h"
#include "exchange/LogExport.h"
#include "exchange/LogImport.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFile>
#include <exception>
#include <optional>
#include <new>
#include <stdexcept>

namespace {

const QString waitCaption = QStringLiteral("Pleas Wait 1 - 35 min !!!");

QString programDirectory()
{
    return Form3->EditDir->text();
}

// A chosen name without a directory lands in the program directory, never in
// wherever the process happens to stand.
QString inProgramDirectory(const QString &name)
{
    const QString dir = programDirectory();
    return dir.isEmpty() ? name : QDir(dir).absoluteFilePath(name);
}

// The main window around a walk: the notepad hidden while it runs; leaving
// the scope, an error included, puts it back with the program directory and,
// after an import, the log in date order on its last contact.
class WalkWindows {
public:
    explicit WalkWindows(bool import) : import_(import) { Form3->MemoNot->hide(); }
    ~WalkWindows()
    {
        Form3->MemoNot->show();
        Ui::runRestoring([] {
            if (const QString dir = programDirectory(); !dir.isEmpty())
                QDir::setCurrent(dir);
        });
        if (import_)
            Ui::runRestoring([] {
                if (DM->Table1.isActive()) {
                    DM->Table1.setIndexName(QStringLiteral("ByDatTim"));
                    DM->Table1.last();
                }
            });
    }
    WalkWindows(const WalkWindows &) = delete;
    WalkWindows &operator=(const WalkWindows &) = delete;

    ProgressWalk walk;

private:
    bool import_;
};

std::optional<LogImport::Counts> importChosen(const QString &path, WalkWindows &windows);

std::optional<LogImport::Counts> importAdif()
{
    if (Ui::askYesNoCancel(QStringLiteral("Clear Awards ?")) == Ui::Answer::Yes)
        DM->Marks.clearAll(); // stays done even when no file is chosen

    WalkWindows windows(true);
    DM->Table1.last();
    const QString chosen = Ui::openFileName(
        {QStringLiteral("Open"), QStringLiteral("ADIF (*.adi);;All (*.*)"), programDirectory(), QString(), QString()});
    if (chosen.isEmpty())
        return std::nullopt;
    windows.walk.start(500, true);
    Progress->setWindowTitle(waitCaption);
    try {
        return importChosen(inProgramDirectory(chosen), windows);
    } catch (const std::bad_alloc &) {
        // The file is named: "std::bad_alloc" alone tells the operator nothing.
        throw std::runtime_error(("Not enough memory to import " + chosen + ": the import was stopped").toStdString());
    }
}

std::optional<LogImport::Counts> importChosen(const QString &path, WalkWindows &windows)
{
    // Read a piece at a time as the records are taken: a large file never
    // sits in memory whole.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
    // Counted once: a count per record would cost seconds on a large log.
    const int before = DM->LogLookup.isActive() ? DM->LogLookup.recordCount() : DM->Table1.recordCount();
    const QString counting = waitCaption + QStringLiteral("  ");
    Progress->setWindowTitle(counting + QString::number(before));
    const LogImport::Tables tables{DM->Table1, DM->LogLookup, DM->Table2, DM->Table3,
                                   DM->Marks,  DM->Table4,    DM->Table9, DM->Table5};
    try {
        return LogImport::importFile(file, tables, [&](int stored) {
            windows.walk.step(counting + QString::number(before + stored));
        });
    } catch (const AdifReader::ReadError &e) {
        throw std::runtime_error(
            QStringLiteral("Cannot read %1: %2").arg(path, QString::fromStdString(e.what())).toStdString());
    }
}

using Export = QString (*)(Db::Table &, const QString &, const LogExport::Tick &);

void exportLog(const QString &filter, const QString &defaultName, Export write)
{
    const QString chosen =
        Ui::saveFileName({QStringLiteral("Save As"), filter, programDirectory(), defaultName, QString()});
    if (chosen.isEmpty())
        return;
    WalkWindows windows(false);
    windows.walk.start(DM->Table1.recordCount());
    write(DM->Table1, inProgramDirectory(chosen), [&windows] { windows.walk.step(); });
}

} // namespace

// Errors are shown once the windows are back.
void TForm3::LogImportAdifClick()
{
    std::optional<LogImport::Counts> counts;
    if (!Ui::runGuarded([&counts] { counts = importAdif(); }) || !counts)
        return;
    Ui::runGuarded([this] { Total->setText(TextFormat::integerText(DM->Table1.recordCount())); });
    Ui::showInformation(LogImport::summary(*counts));
}

void TForm3::LogExportAdifClick()
{
    Ui::runGuarded(
        [] { exportLog(QStringLiteral("ADIF  *.adi (*.adi)"), QStringLiteral("Tnladi"), &LogExport::exportAdif); });
}

void TForm3::LogExportTextClick()
{
    Ui::runGuarded([] {
        exportLog(QStringLiteral("Text File  *.txt (*.txt)"), QStringLiteral("Tnltext"), &LogExport::exportText);
    });
}
