#include "core/Unit2.h"

#include "awards/ReferenceWindows.h"
#include "core/BandsAndModes.h"
#include "core/RecordBrowsing.h"
#include "core/TableSchemas.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/table/Database.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "utilities/UImage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

TDM *DM = nullptr;

namespace {

// Each table opens on its own: one missing or damaged file is reported by
// name and the others still open.
void openEach(std::initializer_list<Db::Table *> tables)
{
    for (Db::Table *t : tables)
        Ui::runGuarded([t] { t->open(); });
}

void openAt(Db::Database &database, const QString &directory)
{
    database.close();
    database.setDirectory(directory);
    database.open();
}

} // namespace

QString logDirectory(const QString &programDir, int log)
{
    return programDir + QStringLiteral("/Log/Log%1/").arg(log);
}

TDM::TDM()
{
    setObjectName(QStringLiteral("DM"));
    for (auto [source, table] : {std::pair{&DataSource1, &Table1}, {&DataSource7, &Table7}, {&DataSource2, &Table2},
                                 {&DataSource3, &Table3}, {&DataSource4, &Table4}, {&DataSource9, &Table9},
                                 {&DataSource5, &Table5}, {&DataSourceS, &TableS}, {&DataSourceR, &TableR},
                                 {&DataSource8, &Table8}})
        source->setDataSet(table);
    Table3.setMasterLink(&Table2, QStringLiteral("MainPrefix"), QStringLiteral("Prefix"));
    Table4.setMasterLink(&Table3, QStringLiteral("DXCCPrefix"), QStringLiteral("Prefix"));
    Table9.setMasterLink(&Table3, QStringLiteral("Prefix"), QStringLiteral("Prefix"));
    // A table file of another layout is refused by name instead of misread.
    for (auto [table, schema] : {std::pair{&Table1, &TableSchemas::log}, {&Table7, &TableSchemas::log},
                                 {&LogLookup, &TableSchemas::log},
                                 {&Table6, &TableSchemas::log}, {&Table2, &TableSchemas::allpref},
                                 {&Table3, &TableSchemas::prefix}, {&Table4, &TableSchemas::dxcc},
                                 {&Table9, &TableSchemas::ur}, {&Table5, &TableSchemas::waz},
                                 {&TableS, &TableSchemas::sound}, {&TableR, &TableSchemas::rez},
                                 {&Table8, &TableSchemas::cs}, {&TableCllbk, &TableSchemas::cbook}})
        table->setRequiredSchema(schema());
    for (Db::Table *callbook : {&TabCbQRZ2, &TabCbQRZ1})
        callbook->setRequiredSchema(TableSchemas::cbookQrz(QFileInfo(callbook->tableName()).completeBaseName()));
    setUpLogFields();
    setUpAwardFields();
    // The award marks are rebuilt from the log by Refresh: only the log's
    // commits wait for the disk.
    Database4.setRebuildable(true);
    // Every keystroke in the callsign counts the contacts that begin with it.
    Table7.keepPrefixCounts(QStringLiteral("LogCall"));
    Ui::connectGuarded(&DataSource1, &Db::DataSource::dataChange, this, [this] { DataSource1DataChange(); });
}

void TDM::setUpLogFields()
{
    struct Column {
        const char *field;
        const char *label;
        int width;
        bool visible;
    };
    static const Column mainColumns[] = {
        {"LogNom", "LogNom", 6, false},        {"LogCall", "Callsignal", 12, true},
        {"LogPref", "LogPref", 5, false},      {"LogObl", "LogObl", 15, false},
        {"LogDate", "Date", 9, true},          {"LogTime", "Time", 7, true},
        {"LogBand", "Band", 4, true},          {"LogMode", "Mode", 4, true},
        {"LogName", "Name", 12, true},         {"LogQth", "Location", 15, true},
        {"LogRxRst", "Rx RST", 6, true},       {"LogTxRst", "Tx RST", 6, true},
        {"LogTxQsl", "Send QSL", 10, true},    {"LogRxQsl", "Rcvd QSL", 10, true},
        {"LogNotepad", "LogNotepad", 10, false}, {"LogOther", "LogOther", 20, false},
        {"Log1", "Log1", 10, false},           {"Log2", "Rx Ident", 6, false},
        {"Log3", "Tx Ident", 6, false},        {"Log4", "Log4", 10, false},
    };
    for (const Column &c : mainColumns) {
        Table1.setFieldView(QString::fromLatin1(c.field), QString::fromLatin1(c.label), c.width, c.visible);
        Table7.setFieldView(QString::fromLatin1(c.field), QString::fromLatin1(c.label), c.width, c.visible);
        Table6.setFieldView(QString::fromLatin1(c.field), QString(), c.width, true);
    }
    // The second cursor: callsign hidden, time after the sent report.
    Table7.setFieldVisible(QStringLiteral("LogCall"), false);
    Table7.setFieldView(QStringLiteral("LogQth"), QStringLiteral("QTH"), 15, true);
    Table7.setFieldView(QStringLiteral("LogRxRst"), QStringLiteral("RX "), 6, true);
    Table7.setFieldView(QStringLiteral("LogTxRst"), QStringLiteral("TX"), 6, true);
    const QStringList order{QStringLiteral("LogNom"),   QStringLiteral("LogCall"),  QStringLiteral("LogPref"),
                            QStringLiteral("LogObl"),   QStringLiteral("LogDate"),  QStringLiteral("LogBand"),
                            QStringLiteral("LogMode"),  QStringLiteral("LogName"),  QStringLiteral("LogQth"),
                            QStringLiteral("LogRxRst"), QStringLiteral("LogTxRst"), QStringLiteral("LogTime")};
    Table7.setFieldOrder(order);
}

// The award grids title each mark cell by its band or mode class, as each
// award spells them, and hide the bookkeeping fields.
void TDM::setUpAwardFields()
{
    struct Award {
        Db::Table *table;
        bool capitalModes;
        QHash<QString, QString> ownBandTitles; // band key -> the award's title where it is not the key
        QStringList modes;
        QStringList hidden;
    };
    const QStringList modes{QStringLiteral("CW"), QStringLiteral("SSB"), QStringLiteral("RTTY"),
                            QStringLiteral("Other")};
    const QString satellite = QStringLiteral("Satellite");
    const Award awards[] = {
        {&Table4, false, {{satellite, QStringLiteral("SAT")}}, modes,
         {QStringLiteral("QslRcvd"), QStringLiteral("QslSend"), QStringLiteral("Moon")}},
        {&Table9, false, {{QStringLiteral("3.5"), QStringLiteral("35")}},
         {QStringLiteral("Cw"), QStringLiteral("Ssb"), QStringLiteral("Rtty"), QStringLiteral("Other")},
         {QStringLiteral("Moon"), QStringLiteral("QslRcvd")}},
        {&Table5, true, {{satellite, QStringLiteral("Sat")}}, modes, {QStringLiteral("RESUM")}},
    };
    constexpr int cellWidth = 3;
    for (const Award &a : awards) {
        // One title per cell, in the cells' order: a band's, then its modes'.
        QStringList titles;
        for (const Band &band : bands()) {
            if (band.awardCell.isEmpty())
                continue;
            const QString key(band.key);
            titles << a.ownBandTitles.value(key, key) << a.modes;
        }
        const QStringList cells = TableSchemas::awardCells(a.capitalModes);
        for (qsizetype c = 0; c < cells.size(); ++c)
            a.table->setFieldView(cells[c], titles.value(c), cellWidth);
        for (const QString &field : a.hidden)
            a.table->setFieldVisible(field, false);
    }
    Table9.setFieldView(QStringLiteral("QslSend"), QStringLiteral("Oblast"), 40);
}

void TDM::DataModuleCreate()
{
    const QString dir = QDir::currentPath();
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        Ui::showWarning(QStringLiteral("Warning Error!"));
        Table1.last(); // the closed log: its error ends the handler
        return;
    }
    if (Form3->EditIf->text().isEmpty())
        Form3->EditDir->setText(dir);
    openAt(DatabaseS, dir + QStringLiteral("/Sound/Table/"));
    openEach({&TableS, &TableR});
    openAt(Database2, dir + QStringLiteral("/Base/"));
    openEach({&Table2, &Table3});
    openAt(Database4, dir + QStringLiteral("/Awrds/"));
    openEach({&Table4, &Table9, &Table5});
    Database1.close();
    const Ui::MenuItem *logs[] = {Form3->LogLog1, Form3->LogLog2, Form3->LogLog3};
    for (int n = 0; n < 3; ++n)
        if (logs[n]->isChecked())
            Ui::runGuarded([&] { openLog(logDirectory(dir, n + 1)); });
    if (Table1.isActive()) {
        Table1.setIndexName(QStringLiteral("ByDatTim"));
        Table1.last();
    }
    const QString base = dir + QStringLiteral("/Base");
    if (!Db::findFileCaseInsensitive(base, QStringLiteral("Cbook.db")).isEmpty())
        openEach({&TableCllbk});
    if (!Db::findFileCaseInsensitive(base, QStringLiteral("Cbook2.db")).isEmpty())
        openEach({&TabCbQRZ2});
    if (!Db::findFileCaseInsensitive(base, QStringLiteral("Cbook3.db")).isEmpty())
        openEach({&TabCbQRZ1});
}

// The whole log is read once here (the count the grid needs anyway): a
// damaged log is closed and reported once, instead of again by the second
// cursor and by every later change of the grid's columns.
void TDM::openLog(const QString &directory)
{
    openAt(Database1, directory);
    // Record browsing waits until the log is known to be readable.
    DataSource1.setEnabled(false);
    try {
        Table1.open();
        Table1.last();
        Table1.recordCount();
        Table7.open();
        Table7.last();
        LogLookup.setIndexName(QStringLiteral("ByDatTim"));
        LogLookup.open();
    } catch (...) {
        Database1.close();
        DataSource1.setEnabled(true);
        throw;
    }
    DataSource1.setEnabled(true);
}

void TDM::switchLog(int log)
{
    const QString previous = Database1.directory();
    const QString next = logDirectory(Form3->EditDir->text(), log);
    try {
        openLog(next);
    } catch (...) {
        // The log that was open stays open; the operator learns why.
        const std::exception_ptr error = std::current_exception();
        if (!previous.isEmpty())
            Ui::runGuarded([&] { openLog(previous); });
        std::rethrow_exception(error);
    }
}

void TDM::wholeLogByDate()
{
    if (!Table1.isActive())
        return;
    Table1.cancelRange();
    Table1.setIndexName(QStringLiteral("ByDatTim"));
    Table1.last();
}

void TDM::DataSource1DataChange()
{
    if (!Table1.isActive())
        return;
    const auto text = [this](const char *field) { return Table1.fieldByName(QLatin1String(field)).asString(); };
    if (RecordBrowsing::picturesFollow(Form3->Label23->text(), Form3->AutoViewImages1->isChecked()))
        FImage->showPictureOf(text("LogCall"));
    if (!RecordBrowsing::rowStepsRun(Form3->Label24->text()))
        return;
    // The count is the engine's, kept until the log changes: no walk per move.
    Form3->Total->setText(TextFormat::integerText(Table1.recordCount()));
    // In edit mode the overlays, the reference windows and the notepad belong
    // to the contact being edited, whatever row the grid moves to.
    const bool editing = RecordBrowsing::editMode(Form3->ButtonEdit->text());
    if (!editing) {
        Form3->Edit2->setText(text("LogTxQsl"));
        Form3->Edit3->setText(text("LogRxQsl"));
        Form3->Edit2->show();
        Form3->Edit3->show();
    }
    Form3->Label35->setText(text("LogObl"));
    if (!editing)
        showAwardReference(text("LogOther"), {Config->CBIota->isChecked(), Config->CBWas->isChecked(),
                                              Config->CBDipA->isChecked(), Config->CBDipB->isChecked()});
    const std::optional<RecordBrowsing::Notepad> notepad =
        RecordBrowsing::notepadFor(text("LogNotepad"), editing, Table6.isActive());
    if (!notepad)
        return;
    Ui::setMemoText(Form3->MemoNot, notepad->text);
    Form3->CheckBoxNot->setChecked(notepad->shown);
    // The box's own handler sets the height; it runs only on a change.
    Form3->CheckBoxNotClick();
}
