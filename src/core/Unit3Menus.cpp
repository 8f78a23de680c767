// The main window's menu bar and context menus.

#include "core/Unit3.h"

#include "platform/table/DbGrid.h"

#include <QMenuBar>

Ui::MenuItem *TForm3::item(QMenu *menu, const char *name, const QString &caption, void (TForm3::*handler)(),
                           const QKeySequence &shortcut)
{
    auto *i = new Ui::MenuItem(QString::fromLatin1(name), caption, this);
    if (!shortcut.isEmpty())
        i->setShortcut(shortcut);
    if (handler)
        i->setHandler([this, handler] { (this->*handler)(); });
    menu->addAction(i);
    items_.append(i);
    return i;
}

QList<Ui::MenuItem *> TForm3::menuItems() const
{
    return items_;
}

void TForm3::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto radio = [](Ui::RadioGroup &group, std::initializer_list<Ui::MenuItem *> items) {
        for (Ui::MenuItem *i : items)
            i->setGroup(&group);
    };

    QMenu *log = bar->addMenu(QStringLiteral("Log"));
    LogLog1 = item(log, "LogLog1", QStringLiteral("Log 1"));
    LogLog2 = item(log, "LogLog2", QStringLiteral("Log 2"));
    LogLog3 = item(log, "LogLog3", QStringLiteral("Log 3"));
    radio(GroupLog, {LogLog1, LogLog2, LogLog3});
    QMenu *add = log->addMenu(QStringLiteral("Add"));
    LogAddLog1 = item(add, "LogAddLog1", QStringLiteral("Log 1"));
    LogAddLog2 = item(add, "LogAddLog2", QStringLiteral("Log 2"));
    LogAddLog3 = item(add, "LogAddLog3", QStringLiteral("Log 3"));
    LogClear = item(log, "LogClear", QStringLiteral("Clear"));
    Refresh1 = item(log, "Refresh1", QStringLiteral("Refresh"), &TForm3::Refresh1Click);
    log->addSeparator();
    QMenu *import = log->addMenu(QStringLiteral("Import"));
    LogImportAdif = item(import, "LogImportAdif", QStringLiteral("ADIF"), &TForm3::LogImportAdifClick);
    QMenu *exportMenu = log->addMenu(QStringLiteral("Export"));
    LogExportAdif = item(exportMenu, "LogExportAdif", QStringLiteral("ADIF"), &TForm3::LogExportAdifClick);
    LogExportText = item(exportMenu, "LogExportText", QStringLiteral("Text File"), &TForm3::LogExportTextClick);
    log->addSeparator();
    LogPrint = item(log, "LogPrint", QStringLiteral("Print"), &TForm3::LogPrintClick);
    LogPrintSetup = item(log, "LogPrintSetup", QStringLiteral("Print Setup"), &TForm3::LogPrintSetupClick);
    log->addSeparator();
    LogExit = item(log, "LogExit", QStringLiteral("Exit"), &TForm3::LogExitClick);
    ExitWindows1 = item(log, "ExitWindows1", QStringLiteral("Exit Windows"), &TForm3::ExitWindows1Click);

    QMenu *view = bar->addMenu(QStringLiteral("View"));
    QMenu *sorted = view->addMenu(QStringLiteral("Sorted by"));
    ViewSortCall = item(sorted, "ViewSortCall", QStringLiteral("Callsignal"), nullptr, QKeySequence(QStringLiteral("Ctrl+C")));
    ViewSortDate = item(sorted, "ViewSortDate", QStringLiteral("Date"), nullptr, QKeySequence(QStringLiteral("Ctrl+D")));
    ViewSortBand = item(sorted, "ViewSortBand", QStringLiteral("Band"), nullptr, QKeySequence(QStringLiteral("Ctrl+B")));
    ViewSortMode = item(sorted, "ViewSortMode", QStringLiteral("Mode"), nullptr, QKeySequence(QStringLiteral("Ctrl+M")));
    ViewSortQth = item(sorted, "ViewSortQth", QStringLiteral("QTH"), nullptr, QKeySequence(QStringLiteral("Ctrl+Q")));
    ViewSortName = item(sorted, "ViewSortName", QStringLiteral("Name"), nullptr, QKeySequence(QStringLiteral("Ctrl+N")));
    ViewSortRxQsl = item(sorted, "ViewSortRxQsl", QStringLiteral("Rcvd QSL"));
    ViewSortTxQsl = item(sorted, "ViewSortTxQsl", QStringLiteral("Send QSL"));
    radio(GroupSort, {ViewSortCall, ViewSortDate, ViewSortBand, ViewSortMode, ViewSortQth, ViewSortName, ViewSortRxQsl,
                      ViewSortTxQsl});
    ViewDeleteQso = item(view, "ViewDeleteQso", QStringLiteral("Delete QSO"), nullptr,
                         QKeySequence(QStringLiteral("Ctrl+Del")));
    ViewFilter = item(view, "ViewFilter", QStringLiteral("Filter"), &TForm3::ViewFilterClick,
                      QKeySequence(QStringLiteral("Ctrl+F")));
    ViewCallsignal = item(view, "ViewCallsignal", QStringLiteral("Filter Callsignal"), &TForm3::ViewCallsignalClick);
    QMenu *external = view->addMenu(QStringLiteral("External Base"));
    VCD1 = item(external, "VCD1", QStringLiteral("VCD"), &TForm3::VCD1Click);
    QMenu *images = view->addMenu(QStringLiteral("Images"));
    Images1 = item(images, "Images1", QStringLiteral("Images"), &TForm3::Images1Click);
    AutoViewImages1 = item(images, "AutoViewImages1", QStringLiteral("Auto View Images"), &TForm3::AutoViewImages1Click);

    QMenu *sound = bar->addMenu(QStringLiteral("Sound"));
    SoundAutosave = item(sound, "SoundAutosave", QStringLiteral("AutoSave"));
    SoundPlay = item(sound, "SoundPlay", QStringLiteral("Player"));
    SoundTimer = item(sound, "SoundTimer", QStringLiteral("Timer"), &TForm3::SoundTimerClick);
    SoundAlarm = item(sound, "SoundAlarm", QStringLiteral("Alarm"), &TForm3::SoundAlarmClick);

    QMenu *awards = bar->addMenu(QStringLiteral("Awards"));
    AwrdDxcc = item(awards, "AwrdDxcc", QStringLiteral("Manager"), &TForm3::AwrdDxccClick);
    QMenu *filtered = awards->addMenu(QStringLiteral("Filtered"));
    IOTA2 = item(filtered, "IOTA2", QStringLiteral("IOTA"), &TForm3::IOTA2Click);
    WAS2 = item(filtered, "WAS2", QStringLiteral("WAS"), &TForm3::WAS2Click);
    Award11 = item(filtered, "Award11", QStringLiteral("Award 1"), &TForm3::Award11Click);
    Award21 = item(filtered, "Award21", QStringLiteral("Award 2"), &TForm3::Award21Click);

    QMenu *contest = bar->addMenu(QStringLiteral("Contest"));
    View1 = item(contest, "View1", QStringLiteral("View Info"));
    ContStart = item(contest, "ContStart", QStringLiteral("Begin"));
    ContStop = item(contest, "ContStop", QStringLiteral("End"));
    radio(GroupContest, {ContStart, ContStop});
    QMenu *print = contest->addMenu(QStringLiteral("Print"));
    Printer1 = item(print, "Printer1", QStringLiteral("Printer"), &TForm3::Printer1Click);
    QMenu *inFile = print->addMenu(QStringLiteral("in File"));
    Cabrillo1 = item(inFile, "Cabrillo1", QStringLiteral("Cabrillo"), &TForm3::Cabrillo1Click);

    QMenu *tools = bar->addMenu(QStringLiteral("Tools"));
    QMenu *timerMenu = tools->addMenu(QStringLiteral("Timer"));
    TimStart = item(timerMenu, "TimStart", QStringLiteral("Start"));
    TimStop = item(timerMenu, "TimStop", QStringLiteral("Stop"));
    TimStopClear = item(timerMenu, "TimStopClear", QStringLiteral("Stop/Clear"));
    radio(GroupTimer1, {TimStart, TimStop, TimStopClear});
    timerMenu->addSeparator();
    TimTotal = item(timerMenu, "TimTotal", QStringLiteral("Total"));
    TimQSO = item(timerMenu, "TimQSO", QStringLiteral("QSO"));
    radio(GroupTimer2, {TimTotal, TimQSO});
    QMenu *mode = tools->addMenu(QStringLiteral("Mode"));
    CW1 = item(mode, "CW1", QStringLiteral("CW"), &TForm3::CW1Click);
    QMenu *internet = tools->addMenu(QStringLiteral("Internet"));
    DXCluster1 = item(internet, "DXCluster1", QStringLiteral("DX Cluster"), &TForm3::DXCluster1Click);
    Callbook1 = item(internet, "Callbook1", QStringLiteral("Callbook"), &TForm3::Callbook1Click);
    Skeds1 = item(tools, "Skeds1", QStringLiteral("Skeds"), &TForm3::Skeds1Click);
    PrintQSLlabel1 = item(tools, "PrintQSLlabel1", QStringLiteral("Print QSL label"), &TForm3::PrintQSLlabel1Click);

    QMenu *utilities = bar->addMenu(QStringLiteral("Utilities"));
    UtilPack = item(utilities, "UtilPack", QStringLiteral("Pack"), &TForm3::UtilPackClick);

    QMenu *programs = bar->addMenu(QStringLiteral("Programs"));
    Pr11 = item(programs, "Pr11", QStringLiteral("Pr1"));
    Pr21 = item(programs, "Pr21", QStringLiteral("Pr2"));
    programs->addSeparator();
    Pr31 = item(programs, "Pr31", QStringLiteral("Pr3"));
    Pr41 = item(programs, "Pr41", QStringLiteral("Pr4"));
    programs->addSeparator();
    Pr51 = item(programs, "Pr51", QStringLiteral("Pr5"));
    Pr61 = item(programs, "Pr61", QStringLiteral("Pr6"));
    programs->addSeparator();
    Pr81 = item(programs, "Pr81", QStringLiteral("Pr8"));
    QMenu *mixw = programs->addMenu(QStringLiteral("MixW"));
    Update1 = item(mixw, "Update1", QStringLiteral("Update"));
    Pr91 = item(mixw, "Pr91", QStringLiteral("Auto"));
    for (Ui::MenuItem *p : {Pr11, Pr21, Pr31, Pr41, Pr51, Pr61, Pr81, Pr91})
        p->setVisible(false);

    QMenu *options = bar->addMenu(QStringLiteral("Options"));
    Configuration1 = item(options, "Configuration1", QStringLiteral("Configuration"), &TForm3::Configuration1Click);
    OptionContest = item(options, "OptionContest", QStringLiteral("Contest Config"), &TForm3::OptionContestClick);
    QSLlabelConfig1 = item(options, "QSLlabelConfig1", QStringLiteral("QSL label Config"), &TForm3::QSLlabelConfig1Click);
    ExitOptions1 = item(options, "ExitOptions1", QStringLiteral("Exit Options"), &TForm3::ExitOptions1Click);
    QMenu *info = options->addMenu(QStringLiteral("Info"));
    OptionDXCC = item(info, "OptionDXCC", QStringLiteral("DXCC"), &TForm3::OptionDXCCClick);
    OptionWAZ = item(info, "OptionWAZ", QStringLiteral("WAZ"), &TForm3::OptionWAZClick);
    OptionUR = item(info, "OptionUR", QStringLiteral("U R"), &TForm3::OptionURClick);
    radio(GroupInfo, {OptionDXCC, OptionWAZ, OptionUR});
    OptionRep = item(options, "OptionRep", QStringLiteral("Visual viewing of repetitions"));

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    Help2 = item(help, "Help2", QStringLiteral("Help"), &TForm3::Help2Click, QKeySequence(Qt::Key_F1));
    About1 = item(help, "About1", QStringLiteral("About"), &TForm3::About1Click);

    for (Ui::MenuItem *checked : {LogLog1, ViewSortDate, OptionDXCC, ContStop, TimStopClear, TimQSO, AutoViewImages1})
        checked->setChecked(true);
}

void TForm3::buildPopupMenus()
{
    auto popup = [this](const char *name, QWidget *owner) {
        auto *menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, menu,
                [menu, owner](const QPoint &at) { menu->popup(owner->mapToGlobal(at)); });
        return menu;
    };
    PopupMenu1 = popup("PopupMenu1", GroupBoxInfo);
    DXCC1 = item(PopupMenu1, "DXCC1", QStringLiteral("DXCC"), &TForm3::DXCC1Click);
    WAZ1 = item(PopupMenu1, "WAZ1", QStringLiteral("WAZ"), &TForm3::WAZ1Click);
    DXCC2 = item(PopupMenu1, "DXCC2", QStringLiteral("Ukr - Russ"), &TForm3::DXCC2Click);

    PopupMenu2 = popup("PopupMenu2", DBGridLog);
    Edit1 = item(PopupMenu2, "Edit1", QStringLiteral("Edit"), &TForm3::Edit1Click);
    Delete1 = item(PopupMenu2, "Delete1", QStringLiteral("Delete"));
    FilterCallsign1 = item(PopupMenu2, "FilterCallsign1", QStringLiteral("Filter Callsignal"), &TForm3::ViewCallsignalClick);
    Filter1 = item(PopupMenu2, "Filter1", QStringLiteral("Filter"), &TForm3::ViewFilterClick);
    QSLPrint1 = item(PopupMenu2, "QSLPrint1", QStringLiteral("QSL Print"), &TForm3::QSLPrint1Click);

    PopupMenu3 = popup("PopupMenu3", MaskEditQslRx);
    InsertDate1 = item(PopupMenu3, "InsertDate1", QStringLiteral("Insert Date"));
    InsertYes1 = item(PopupMenu3, "InsertYes1", QStringLiteral("Insert Yes"));
    eQSL2 = item(PopupMenu3, "eQSL2", QStringLiteral("eQSL"));

    PopupMenu4 = popup("PopupMenu4", MaskEditQslTx);
    InsertDate2 = item(PopupMenu4, "InsertDate2", QStringLiteral("Insert Date"));
    InsertYes2 = item(PopupMenu4, "InsertYes2", QStringLiteral("Insert Yes"));
    eQSL1 = item(PopupMenu4, "eQSL1", QStringLiteral("eQSL"));

    PopupMenu5 = popup("PopupMenu5", PanelEntry);
    IOTA1 = item(PopupMenu5, "IOTA1", QStringLiteral("IOTA"), &TForm3::IOTA1Click);
    WAS1 = item(PopupMenu5, "WAS1", QStringLiteral("WAS"), &TForm3::WAS1Click);
    Diplom11 = item(PopupMenu5, "Diplom11", QStringLiteral("Diplom 1"), &TForm3::Diplom11Click);
    Diplom21 = item(PopupMenu5, "Diplom21", QStringLiteral("Diplom 2"), &TForm3::Diplom21Click);
}
