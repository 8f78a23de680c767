// Log > Import > ADIF, Log > Export > ADIF and Log > Export > Text File: the
// dialogs and the windows around the walks of exchange/LogImport and
// exchange/LogExport.

#include "core/Unit3.h"

#include "core/Progress.h"
#include "core/Unit2.h"
#include "exchange/LogExport.h"
#include "exchange/LogImport.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <exception>
#include <optional>
#include <stdexcept>

namespace {

const QString waitCaption = QStringLiteral("Pleas Wait 1 - 35 min !!!");

// The bar and caption are repainted at most this often: a repaint per row
// would cost more than the walk itself.
constexpr qint64 repaintMillis = 50;

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

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
    return bytes;
}

// A restoring step that fails while another error is on its way stays quiet:
// that error is the one the operator needs to see.
void restoreStep(const std::function<void()> &step)
{
    if (std::uncaught_exceptions() == 0) {
        Ui::runGuarded(step);
        return;
    }
    try {
        step();
    } catch (...) {
    }
}

// The windows while a walk runs: grid detached, notepad hidden, progress
// shown. Leaving the scope puts them back on every path, an error included.
class WalkWindows {
public:
    explicit WalkWindows(bool import) : import_(import) { Form3->MemoNot->hide(); }
    ~WalkWindows()
    {
        DM->DataSource1.setEnabled(true);
        Form3->MemoNot->show();
        Progress->PrBar->setValue(0);
        Progress->closeWindow();
        restoreStep([] {
            if (const QString dir = programDirectory(); !dir.isEmpty())
                QDir::setCurrent(dir);
        });
        if (import_)
            restoreStep([] {
                if (DM->Table1.isActive())
                    DM->Table1.setIndexName(QStringLiteral("ByDatTim"));
            });
        Progress->setWindowTitle(QStringLiteral("Progress"));
        if (import_)
            restoreStep([] {
                if (DM->Table1.isActive())
                    DM->Table1.last();
            });
    }
    WalkWindows(const WalkWindows &) = delete;
    WalkWindows &operator=(const WalkWindows &) = delete;

    void start(int barMaximum)
    {
        DM->DataSource1.setEnabled(false);
        Progress->PrBar->setRange(0, barMaximum);
        Progress->PrBar->setValue(0);
        Progress->showWindow();
        clock_.start();
    }

    // One more row. The import's bar cycles and never fills; the exports' bar
    // counts rows.
    void step(const QString &caption = {})
    {
        ++position_;
        if (import_ && position_ == 499)
            position_ = 1;
        if (clock_.elapsed() < repaintMillis)
            return;
        clock_.restart();
        Progress->PrBar->setValue(position_);
        if (!caption.isEmpty())
            Progress->setWindowTitle(caption);
    }

private:
    bool import_;
    int position_ = 0;
    QElapsedTimer clock_;
};

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
    windows.start(500);
    Progress->setWindowTitle(waitCaption);
    const QByteArray file = readWholeFile(inProgramDirectory(chosen));
    // Counted once: a count per record would cost seconds on a large log.
    const int before = DM->LogLookup.isActive() ? DM->LogLookup.recordCount() : DM->Table1.recordCount();
    const QString counting = waitCaption + QStringLiteral("  ");
    Progress->setWindowTitle(counting + QString::number(before));
    const LogImport::Tables tables{DM->Table1, DM->LogLookup, DM->Table2, DM->Table3,
                                   DM->Marks,  DM->Table4,    DM->Table9, DM->Table5};
    return LogImport::importFile(file, tables, [&](int stored) {
        windows.step(counting + QString::number(before + stored));
    });
}

using Export = QString (*)(Db::Table &, const QString &, const LogExport::Tick &);

void exportLog(const QString &filter, const QString &defaultName, Export write)
{
    const QString chosen =
        Ui::saveFileName({QStringLiteral("Save As"), filter, programDirectory(), defaultName, QString()});
    if (chosen.isEmpty())
        return;
    WalkWindows windows(false);
    windows.start(DM->Table1.recordCount());
    write(DM->Table1, inProgramDirectory(chosen), [&windows] { windows.step(); });
}

} // namespace

// Errors are shown once the windows are back.
void TForm3::LogImportAdifClick()
{
    std::optional<LogImport::Counts> counts;
    if (!Ui::runGuarded([&counts] { counts = importAdif(); }) || !counts)
        return;
    Ui::runGuarded([this] { Total->setText(TextFormat::integerText(DM->Table1.recordCount())); });
    Ui::showInformation(QStringLiteral("ADIF import: %1 new, %2 already in the log, %3 rejected")
                        .arg(counts->added)
                        .arg(counts->duplicates)
                        .arg(counts->rejected));
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
