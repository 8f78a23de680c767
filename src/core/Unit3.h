#pragma once
// The main window: the entry of one contact, the Info panel, the log grid and
// the menus. State lives in its controls and check marks, which the other
// windows read and write by name.

#include "platform/ui/Controls.h"
#include "platform/table/FileCheck.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Notice.h"
#include "platform/ui/Window.h"
#include "core/PrefixRow.h"
#include "core/EntryKeys.h"
#include "core/MainClock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProperty>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <optional>

class QKeyEvent;

namespace Db {
class DbGrid;
class Table;
}

class TForm3 : public Ui::Window {
    Q_OBJECT
public:
    TForm3();

    // ---- entry fields (the current contact)
    Ui::MaskEdit *MaskEditCall;
    Ui::MaskEdit *MaskEditRstTx;
    Ui::MaskEdit *MaskEditRstRx;
    Ui::MaskEdit *MaskEditName;
    Ui::MaskEdit *MaskEditQth;
    QComboBox *ComboBoxBand;
    QComboBox *ComboBoxMode;
    Ui::MaskEdit *MaskEditDate;
    Ui::MaskEdit *MaskEditTime;
    Ui::MaskEdit *MaskEditQslTx;
    Ui::MaskEdit *MaskEditQslRx;
    QLineEdit *Edit2; // the browsed row's sent QSL, lying over MaskEditQslTx
    QLineEdit *Edit3; // the browsed row's received QSL, lying over MaskEditQslRx
    Ui::MaskEdit *EditNmTx;
    Ui::MaskEdit *EditNmRx;
    QPlainTextEdit *MemoNot;
    QCheckBox *CheckBoxNot;
    QCheckBox *CheckBoxTime;
    QLineEdit *EditDir; // hidden: the program directory
    QLineEdit *EditIf;  // hidden: the fixed notepad text
    QWidget *PanelEntry;

    // ---- labels of the entry area
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label13;
    QLabel *Label32;
    QLabel *Label33;

    // ---- buttons (hidden ones serve as procedures other windows click)
    QPushButton *ButtonSave;
    QPushButton *ButtonEdit; // caption "Edit", or "Esc" in edit mode
    QPushButton *ButtonClear;
    QPushButton *ButExt2;
    QPushButton *ButExt3;
    QPushButton *ButtonFind;
    QPushButton *ButtonExt;
    QPushButton *ButtonQ;
    QPushButton *ButtonRe;
    QPushButton *ButtonPl;
    QPushButton *ButtonCq;

    // ---- hidden state labels
    QLabel *Label23; // start-up: "New", "Old", "vse"
    QLabel *Label24; // "Save", or "JKL" while a save or a clear runs

    // ---- Info panel
    QGroupBox *GroupBoxInfo;
    QLabel *LabelPref;
    QLabel *LabelCount;
    QLabel *Label_ZCQ;
    QLabel *Label_ZITU;
    QLabel *LabelCont;
    QLabel *LabelDist;
    QLabel *LabelAz;
    QLabel *LabelAzO;
    QLabel *LabelDiff;
    QLabel *Label26; // the country is already in the log
    QLabel *Label18;
    QLabel *Labelin18;
    QLabel *Labelin35;
    QLabel *Labelin7;
    QLabel *LabelIn10;
    QLabel *LabelIn14;
    QLabel *LabelIn180;
    QLabel *LabelIn21;
    QLabel *LabelIn24;
    QLabel *LabelIn28;
    QLabel *LabelIn50;
    QLabel *LabelInS;
    QLabel *Label19; // the award the indicators follow
    QLabel *LabelH;
    QLabel *LabelM;
    QLabel *LabelS;
    QLabel *LabelPw;
    QLabel *LabelPw1;
    QLabel *Label30; // recorder status letter
    QLabel *Label31; // "A": automatic voice saving on

    // ---- log view
    Db::DbGrid *DBGridLog;
    QLabel *Total;
    QLabel *Label35;

    // ---- timers
    QTimer *Timer1; // main clock
    QTimer *Timer2; // start-up
    QTimer *Timer3; // stopwatch
    QTimer *Timer4; // recorder status

    // A log the check after start-up or a log switch finds damaged is
    // reported here, beside the entry, leaving the keyboard in it.
    Ui::Notice *LogDamage;
    void checkLog();

    // ---- main clock: Timer1's tick (core/Unit3Clock.cpp)
    void Timer1Timer();
    // Starts the clock, once every window it reads exists.
    void startClock();

private:
    void wireClock();
    bool contestQuestionDue(const MainClock::Span &span) const;
    void fireMoments(const MainClock::Span &span);
    MainClock::Reference clockReference_; // the previous tick; reset when Timer1 starts
    MainClock::OffsetMemory clockOffset_; // the last UTC offset that parsed
    bool clockFiring_ = false;            // the clock's events run (a question may be open)
    QPropertyNotifier clockStarts_;

public:
    // ---- menus ("Log", "View", "Sound", "Awards", "Contest", "Tools",
    // "Utilities", "Programs", "Options", "Help") and context menus
    Ui::MenuItem *LogLog1, *LogLog2, *LogLog3;
    Ui::MenuItem *LogAddLog1, *LogAddLog2, *LogAddLog3;
    Ui::MenuItem *LogClear, *Refresh1, *LogImportAdif, *LogExportAdif, *LogExportText;
    Ui::MenuItem *LogPrint, *LogPrintSetup, *LogExit, *ExitWindows1;
    Ui::MenuItem *ViewSortCall, *ViewSortDate, *ViewSortBand, *ViewSortMode, *ViewSortQth, *ViewSortName,
        *ViewSortRxQsl, *ViewSortTxQsl;
    Ui::MenuItem *ViewDeleteQso, *ViewFilter, *ViewCallsignal, *VCD1, *Images1, *AutoViewImages1;
    Ui::MenuItem *SoundAutosave, *SoundPlay, *SoundTimer, *SoundAlarm;
    Ui::MenuItem *AwrdDxcc, *IOTA2, *WAS2, *Award11, *Award21;
    Ui::MenuItem *View1, *ContStart, *ContStop, *Printer1, *Cabrillo1;
    Ui::MenuItem *TimStart, *TimStop, *TimStopClear, *TimTotal, *TimQSO;
    Ui::MenuItem *CW1, *DXCluster1, *Callbook1, *Skeds1, *PrintQSLlabel1;
    Ui::MenuItem *UtilPack;
    Ui::MenuItem *Pr11, *Pr21, *Pr31, *Pr41, *Pr51, *Pr61, *Pr81, *Update1, *Pr91;
    Ui::MenuItem *Configuration1, *OptionContest, *QSLlabelConfig1, *ExitOptions1;
    Ui::MenuItem *OptionDXCC, *OptionWAZ, *OptionUR, *OptionRep;
    Ui::MenuItem *Help2, *About1;
    QMenu *PopupMenu1, *PopupMenu2, *PopupMenu3, *PopupMenu4, *PopupMenu5;
    Ui::MenuItem *DXCC1, *WAZ1, *DXCC2;
    Ui::MenuItem *Edit1, *Delete1, *FilterCallsign1, *Filter1, *QSLPrint1;
    Ui::MenuItem *InsertDate1, *InsertYes1, *eQSL2;
    Ui::MenuItem *InsertDate2, *InsertYes2, *eQSL1;
    Ui::MenuItem *IOTA1, *WAS1, *Diplom11, *Diplom21;
    Ui::RadioGroup GroupLog, GroupSort, GroupContest, GroupTimer1, GroupTimer2, GroupInfo;

    // The menu items by object name, in menu order.
    QList<Ui::MenuItem *> menuItems() const;

    // Binds the log grid to the data module's log cursor (once DM exists).
    void bindLogGrid();

    // ---- handlers
    void FormCreate() override;
    void FormClose() override;
    void FormActivate() override;
    void Timer2Timer();
    void CheckBoxNotClick();
    void MaskEditNameClick() {}
    void MaskEditNameChange() {}
    void MaskEditQthClick() {}
    void MaskEditQthChange() {}

    // Commands that only open another window.
    void AwrdDxccClick();
    // Rebuilds the award tables from the log (the awards window's "Refresh").
    void Refresh1Click();
    void VCD1Click();
    void Configuration1Click();
    void OptionContestClick();
    void QSLlabelConfig1Click();
    void ExitOptions1Click();
    void ViewFilterClick();
    void ViewCallsignalClick();
    void AutoViewImages1Click();
    void CW1Click();
    void DXCluster1Click();
    void Callbook1Click();
    void Skeds1Click();
    void Cabrillo1Click();
    void LogExitClick();
    void About1Click();
    void ExitWindows1Click();
    void Images1Click();
    void UtilPackClick();
    void SoundTimerClick();
    void SoundAlarmClick();
    void Help2Click();
    // The award reports of Awards > Filtered.
    void IOTA2Click();
    void WAS2Click();
    void Award11Click();
    void Award21Click();
    void IOTA1Click();
    void WAS1Click();
    void Diplom11Click();
    void Diplom21Click();
    // The award the band indicators follow.
    void OptionDXCCClick();
    void OptionWAZClick();
    void OptionURClick();
    void DXCC1Click() { OptionDXCC->click(); }
    void WAZ1Click() { OptionWAZ->click(); }
    void DXCC2Click() { OptionUR->click(); }

    // ---- callsign entry
    void MaskEditCallChange();
    // Turns a key of a Cyrillic layout into the Latin letter on the same key;
    // true when the key was replaced.
    bool MaskEditCallKeyPress(QKeyEvent *event);
    // What the current callsign resolved to; the save stores and marks it.
    std::optional<PrefixRow> EntryPrefix;

    // ---- saving and edit mode
    void ButtonSaveClick();
    void ButtonEditClick();
    void Edit1Click() { ButtonEditClick(); }
    void Edit2Click() { Edit2->hide(); }
    void Edit3Click() { Edit3->hide(); }
    // The sent QSL date was written into the log's `row`: when that is the
    // contact being edited, its entry takes the date too, or the save would
    // put the old text back.
    void qslSentWritten(qint64 row, const QString &date);

    // ---- look-up chain and the exchange file
    void MaskEditCallExit();
    void ButExt2Click();
    void ButExt3Click();
    void ButtonFindClick();
    void ButtonFindMouseUp();
    void ButtonExtClick();
    void ButtonQClick();
    void MaskEditRstTxExit() { ButtonQ->click(); }
    void MaskEditNameExit() { ButtonQ->click(); }
    void MaskEditQthExit() { ButtonQ->click(); }
    // Steps 1-4 of the chain (callbooks, own log, external base, exchange
    // file); the spot hand-over runs these and its own last step.
    void runLookups();
    // Shows the confirmation window when a callbook's name or QTH differs
    // from the entry.
    void offerConfirmation();
    // With the external base or the repeat window up after the look-ups: the
    // stopwatch, the main window in front, the confirmation offer.
    void showLookupResults(bool focusReport);
    // The spot hand-over (core/Unit3Spots.cpp): band, callsign, the band
    // plan's mode, then the look-ups; nothing in edit mode or without a spot.
    void takeSpot(const QString &band, const QString &call, const QString &frequency);

    // ---- log view and clearing
    void ViewSortCallClick();
    void ViewSortDateClick();
    void ViewSortBandClick();
    void ViewSortModeClick();
    void ViewSortQthClick();
    void ViewSortNameClick();
    void ViewSortRxQslClick();
    void ViewSortTxQslClick();
    void ViewDeleteQsoClick();
    void Delete1Click() { ViewDeleteQsoClick(); }
    void ButtonClearClick();
    // Shades the rows of confirmed contacts (set once, when the grid is built).
    void DBGridLogDrawDataCell();
    void InsertDate1Click();
    void InsertYes1Click();
    void eQSL2Click();
    void InsertDate2Click();
    void InsertYes2Click();
    void eQSL1Click();

    // ---- contest (defined in core/Unit3Contest.cpp)
    void ContStartClick();
    void ContStopClick();
    void View1Click();
    void OptionRepClick();
    void ComboBoxBandChange();
    // Enter, Down and Up in the received contest number; true when handled.
    bool EditNmRxKeyUp(QKeyEvent *event);
    void EditNmRxExit();
    // Wires the contest items, the band box and the received number field.
    void connectContest();

    // ---- the three logs
    void LogLog1Click();
    void LogLog2Click();
    void LogLog3Click();
    void LogAddLog1Click();
    void LogAddLog2Click();
    void LogAddLog3Click();
    void LogClearClick();

    // ---- stopwatch
    void Timer3Timer();
    void TimStartClick();
    void TimStopClick();
    void TimStopClearClick();
    void TimTotalClick();
    void TimQSOClick();

    void LogImportAdifClick();
    void LogExportAdifClick();
    void LogExportTextClick();

    // ---- printing (core/Unit3Print.cpp)
    void PrintQSLlabel1Click();
    void QSLPrint1Click();
    void LogPrintClick();
    void LogPrintSetupClick();
    void Printer1Click();

    // ---- voice recorder, programs menu, MixW (core/Unit3Station.cpp)
    void ButtonReClick();
    void ButtonPlClick();
    void Timer4Timer();
    void ButtonCqClick();
    void SoundPlayClick();
    void SoundAutosaveClick();
    void Pr11Click();
    void Pr21Click();
    void Pr31Click();
    void Pr41Click();
    void Pr51Click();
    void Pr61Click();
    void Pr81Click();
    void Update1Click();
    void Pr91Click();

private:
    void connectStation();
    void startProgram(const QString &path);
    // What the Info panel shows for the callsign typed; as built, what it
    // shows for none.
    struct InfoTexts {
        QString prefix = QStringLiteral("Rref");
        QString country = QStringLiteral("Country");
        QString cqZone = QStringLiteral("00");
        QString ituZone = QStringLiteral("00");
        QString continent = QStringLiteral("NO");
        QString distance = QStringLiteral("00000");
        QString heading = QStringLiteral("000");
        QString backHeading = QStringLiteral("000");
        QString localTime = QStringLiteral("00:00");
        QList<int> indicators;      // grey when empty
        std::optional<int> inLog;   // the colour of the country's mark (Label26); grey when none
    };
    void resetInfo();
    // Each text and colour is set once, to its final value: a label set to
    // what it shows costs nothing, while one set twice makes the window
    // lay itself out again on every keystroke.
    void showInfo(const InfoTexts &info);
    void showIndicators(const QList<int> &colours);
    void resolveEntry();
    void addDistanceAndHeading(InfoTexts &info) const;
    void addLocalTime(InfoTexts &info) const;
    void followRepetitions(const QString &call);
    bool saveContact();
    void afterPost(bool counted, const QString &points, const std::optional<QString> &nextSent);
    void finishSave(bool stayInEditMode);
    void leaveEditMode();
    void clearEntry();
    void restartRecording(int callLength);
    void connectLookupsAndLogView();
    void connectKeysAndStopwatch();
    void connectLogItems();
    void awardReport(int award);
    void showAddItems();
    void switchLog(int log);
    void addLog(int log);
    bool entryKey(EntryKeys::Field field, QKeyEvent *event);
    void capitalizeFirstLetter(QLineEdit *field);
    std::optional<std::pair<EntryKeys::Field, int>> pressedKey_; // the ring key that went down, and where
    void sortBy(Ui::MenuItem *item, const QString &indexName);
    bool lookUpCallbook(Db::Table &callbook, const QString &call);
public:
    // The entry date and time for one reading of the computer's clock.
    void showEntryTime(const QDateTime &local);
private:
    std::unique_ptr<Db::FileCheck> logCheck_;
    bool recorderFailureShown_ = false; // for the callsign being typed
    bool exchangeFailureShown_ = false; // until "TnlQSO.ini" can be written again
    qint64 editedRow_ = 0;  // LogNom of the contact loaded for editing
    QString editedCall_;    // its callsign as loaded
    void buildEntry();
    void buildInfo();
    void buildLogView();
    void buildMenus();
    void buildPopupMenus();
    void connectHandlers();
    Ui::MenuItem *item(QMenu *menu, const char *name, const QString &caption, void (TForm3::*handler)() = nullptr,
                       const QKeySequence &shortcut = {});
    QList<Ui::MenuItem *> items_;
};

extern TForm3 *Form3;
