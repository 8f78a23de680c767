// Awards > Filtered: the four award reports, written under Awrds/ and shown
// in the award info window; the log grid is left on that award's contacts.

#include "core/Unit3.h"

#include "awards/AwardReports.h"
#include "awards/FMemAw.h"
#include "core/Progress.h"
#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

void TForm3::IOTA2Click() { awardReport(int(AwardReports::Award::Iota)); }
void TForm3::WAS2Click() { awardReport(int(AwardReports::Award::Was)); }
void TForm3::Award11Click() { awardReport(int(AwardReports::Award::AwardA)); }
void TForm3::Award21Click() { awardReport(int(AwardReports::Award::AwardB)); }

void TForm3::awardReport(int which)
{
    using namespace AwardReports;
    const Award award = Award(which);
    const QString titles[] = {QStringLiteral(" IOTA"), QStringLiteral(" WAS"), Config->EditDipA->text(),
                              Config->EditDipB->text()};
    const QString path = QDir(EditDir->text()).filePath(fileName(award));
    Db::Table &log = DM->Table1;
    if (!log.isActive())
        return;
    {
        // Whatever happens in the walk, the notepad and the grid come back
        // and the progress window goes before any error is shown.
        ProgressWalk walk;
        struct Notepad {
            QPlainTextEdit *memo;
            ~Notepad() { memo->show(); }
        } notepad{MemoNot};
        walk.start(0);
        log.setIndexName(QStringLiteral("ByOther"));
        log.setRange(QString(letter(award)), rangeEnd(award));
        log.last();
        FMemAw->Memo2->clear();
        walk.setMaximum(log.recordCount());
        MemoNot->hide();
        Report report(award, titles[which]);
        const auto field = [&log](const char *name) { return log.fieldByName(QString::fromLatin1(name)).asString(); };
        for (log.first(); !log.eof(); log.next()) {
            walk.step();
            report.add({field("LogOther"), field("LogCall"), field("LogDate"), field("LogTime"), field("LogBand"),
                        field("LogMode"), field("LogRxRst"), field("LogTxRst")});
        }
        SettingsFile::writeFile(path, report.text().toUtf8());
        FMemAw->Memo2->setPlainText(report.references().join(u'\n'));
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        FMemAw->Memo1->setPlainText(QString::fromUtf8(file.readAll()).remove(u'\r'));
    QDir::setCurrent(EditDir->text());
    FMemAw->showWindow();
}
