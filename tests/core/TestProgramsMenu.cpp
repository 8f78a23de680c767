#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"

class TestProgramsMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    QString makeFile(const QString &name, const QByteArray &content, bool executable) const
    {
        const QString path = program_->path(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // A program starts for real: the script leaves its marker, and the
    // current directory is the program directory again.
    void startsAProgram()
    {
        const QString marker = program_->path(QStringLiteral("marker"));
        Config->EditPr1->setText(
            makeFile(QStringLiteral("run.sh"), "#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n", true));
        QDir::setCurrent(QDir::tempPath());
        Form3->Pr11Click();
        QTRY_VERIFY(QFileInfo::exists(marker));
        QCOMPARE(QDir::currentPath(), QDir(program_->path()).canonicalPath());
        QVERIFY(dialogs_->shown.isEmpty());
    }

    // What each kind of path does, through the shell's seams.
    void paths_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("handed");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("opened");
        QTest::newRow("document") << "document" << true << QString() << "log.txt";
        QTest::newRow("directory") << "directory" << true << "File %1 not exists !" << QString();
        QTest::newRow("missing") << "missing" << true << "File %1 not exists !" << QString();
        QTest::newRow("document with the x bit") << "executable document" << true << QString() << "log.txt";
        QTest::newRow("refused program") << "program" << false << "Cannot start %1" << QString();
        QTest::newRow("refused binary") << "binary" << false << "Cannot start %1" << QString();
    }
    void paths()
    {
        QFETCH(QString, kind);
        QFETCH(bool, handed);
        QFETCH(QString, warning);
        QFETCH(QString, opened);
        QString path;
        if (kind.endsWith(QLatin1String("document")))
            path = makeFile(QStringLiteral("log.txt"), "QB1AA\n", kind.startsWith(QLatin1String("executable")));
        else if (kind == QLatin1String("program"))
            path = makeFile(QStringLiteral("prog"), "#!/bin/sh\n", true);
        else if (kind == QLatin1String("binary"))
            path = makeFile(QStringLiteral("prog"), QByteArrayLiteral("\x7f" "ELF\x02\x01"), true);
        else if (kind == QLatin1String("directory"))
            path = program_->path(QStringLiteral("Sound"));
        else
            path = QStringLiteral("Base/none.exe");
        QStringList urls;
        const Shell::UrlOpener previousOpener = Shell::setUrlOpener([&](const QUrl &url) {
            urls << url.fileName();
            return handed;
        });
        const Shell::ProgramStarter previousStarter = Shell::setProgramStarter([&](const QString &) { return handed; });
        Config->EditPr8->setText(path);
        Form3->Pr81Click();
        Shell::setUrlOpener(previousOpener);
        Shell::setProgramStarter(previousStarter);
        QCOMPARE(dialogs_->warnings(), warning.isEmpty() ? QStringList{} : QStringList{warning.arg(path)});
        QCOMPARE(urls, opened.isEmpty() ? QStringList{} : QStringList{opened});
    }
};

QTEST_MAIN(TestProgramsMenu)
#include "TestProgramsMenu.moc"
