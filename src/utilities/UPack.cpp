#include "utilities/UPack.h"

#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/table/Database.h"
#include "platform/ui/Guard.h"
#include "platform/ui/MenuItem.h"
#include "utilities/UImage.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFUtil *FUtil = nullptr;

namespace Pack {

namespace {

// The live file as it is spelt on disk (names match case-insensitively).
QString liveFile(const QString &directory, const QString &name)
{
    const QString found = Db::findFileCaseInsensitive(directory, name);
    return found.isEmpty() ? QDir(directory).filePath(name) : found;
}

TableRebuild::Files files(const QString &dir, const QString &liveDir, const QString &name, const QString &work)
{
    return {liveFile(liveDir, name), liveFile(dir + QStringLiteral("/Pack"), name),
            QDir(dir + QStringLiteral("/Temp")).filePath(work)};
}

} // namespace

TableRebuild::Files pictureFiles(const QString &dir)
{
    return files(dir, dir + QStringLiteral("/Sound/Table"), QStringLiteral("Pict.db"), QStringLiteral("~Pic.db"));
}

TableRebuild::Files soundFiles(const QString &dir)
{
    return files(dir, dir + QStringLiteral("/Sound/Table"), QStringLiteral("Sound.db"), QStringLiteral("~Sndd.db"));
}

TableRebuild::Files logFiles(const QString &dir, int log)
{
    return files(dir, logDirectory(dir, log), QStringLiteral("Tarnel.db"), QStringLiteral("~Tarnel.db"));
}

} // namespace Pack

namespace {

QString programDir()
{
    return Form3->EditDir->text();
}

int checkedLog()
{
    const Ui::MenuItem *logs[] = {Form3->LogLog1, Form3->LogLog2, Form3->LogLog3};
    for (int n = 0; n < 3; ++n)
        if (logs[n]->isChecked())
            return n + 1;
    return 1;
}

} // namespace

TFUtil::TFUtil() : Ui::Window(QStringLiteral("FUtil"), QStringLiteral("Utilite"))
{
    auto *group = new QGroupBox(QStringLiteral("Pack "), this);
    auto *layout = new QVBoxLayout(group);
    const auto gauge = [group, layout](const char *name, bool text) {
        auto *g = new QProgressBar(group);
        g->setObjectName(QString::fromLatin1(name));
        g->setRange(0, 100);
        g->setValue(0);
        g->setTextVisible(text);
        g->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #800000; }"));
        layout->addWidget(g);
        return g;
    };
    Gauge1 = gauge("Gauge1", true);
    Gauge2 = gauge("Gauge2", false);
    const auto button = [this, group, layout](const char *name, const QString &caption, void (TFUtil::*handler)()) {
        auto *b = new QPushButton(caption, group);
        b->setObjectName(QString::fromLatin1(name));
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        layout->addWidget(b);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("Image Pack"), &TFUtil::Button1Click);
    ButtonPSound = button("ButtonPSound", QStringLiteral("Sound Pack"), &TFUtil::ButtonPSoundClick);
    ButtonLPack = button("ButtonLPack", QStringLiteral("Log Pack"), &TFUtil::ButtonLPackClick);
    setCentralWidget(group);
}

void TFUtil::rebuild(const TableRebuild::Files &files, std::function<void()> closeCursors,
                     std::function<void()> reopenCursors)
{
    TableRebuild::Hooks hooks;
    hooks.closeCursors = std::move(closeCursors);
    hooks.reopenCursors = std::move(reopenCursors);
    hooks.gauge = [this](int percent) { Gauge1->setValue(percent); };
    hooks.rows = [this](int copied, int total) {
        Gauge2->setMaximum(std::max(total, 1));
        Gauge2->setValue(copied);
    };
    TableRebuild::rebuild(files, hooks);
    finished();
}

void TFUtil::finished()
{
    Gauge2->setValue(0);
    Gauge1->setValue(100);
    QApplication::beep();
}

void TFUtil::Button1Click()
{
    // A fresh cursor of the rebuild copies every row, whatever search the
    // picture window holds.
    rebuild(Pack::pictureFiles(programDir()), [] { FImage->closePictures(); }, [] { FImage->reopenPictures(); });
}

void TFUtil::ButtonPSoundClick()
{
    rebuild(Pack::soundFiles(programDir()), [] { DM->TableS.close(); }, [] {
        DM->TableS.open();
        DM->TableS.last();
    });
}

void TFUtil::ButtonLPackClick()
{
    const int log = checkedLog();
    const TableRebuild::Files files = Pack::logFiles(programDir(), log);
    // Only an empty log is packed; the whole file is counted, never the
    // range a filter leaves on the log's cursors.
    if (TableRebuild::rowCount(files.live) != 0) {
        finished();
        return;
    }
    const QString directory = logDirectory(programDir(), log);
    rebuild(files, [] { DM->Database1.close(); }, [directory] { DM->openLog(directory); });
}

void showPackWindow()
{
    FUtil->Gauge1->setValue(0);
    FUtil->Gauge2->setValue(0);
    FUtil->showModal();
}
