// The main window's callsign entry: resolving the callsign as it is typed,
// the Info panel, the band indicators and the earlier-contact hints.

#include "core/Unit3.h"

#include "awards/BandIndicators.h"
#include "contest/UContst.h"
#include "core/ConfigMasks.h"
#include "core/GreatCircle.h"
#include "core/LatinKeyMap.h"
#include "core/MainClock.h"
#include "core/PrefixResolver.h"
#include "core/StationTime.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "lookups/UCallInt.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/format/TextFormat.h"
#include "station/USound.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <utility>

namespace {

// Eleven Z: every callsign that begins with the typed text lies in the range.
const QString rangeEnd = QStringLiteral("ZZZZZZZZZZZ");

bool zoneShown(const QString &zone)
{
    return !zone.isEmpty() && zone != QLatin1String("00");
}

} // namespace

void TForm3::resetInfo()
{
    showInfo({});
}

void TForm3::showInfo(const InfoTexts &info)
{
    showIndicators(info.indicators.isEmpty() ? QList<int>(11, BandIndicators::grey) : info.indicators);
    Ui::setFontColor(Label26, info.inLog.value_or(BandIndicators::grey));
    LabelPref->setText(info.prefix);
    LabelCount->setText(info.country);
    Label_ZCQ->setText(info.cqZone);
    Label_ZITU->setText(info.ituZone);
    LabelCont->setText(info.continent);
    LabelDist->setText(info.distance);
    LabelAz->setText(info.heading);
    LabelAzO->setText(info.backHeading);
    LabelDiff->setText(info.localTime);
}

void TForm3::showIndicators(const QList<int> &colours)
{
    QLabel *const indicators[] = {Labelin18, Labelin35, Labelin7, LabelIn10, LabelIn14, LabelIn180,
                                  LabelIn21, LabelIn24, LabelIn28, LabelIn50, LabelInS};
    for (int i = 0; i < 11; ++i)
        Ui::setFontColor(indicators[i], colours.value(i, BandIndicators::grey));
}

// Always on the first characters of the text as it stands now, so a callsign
// set in one step gets its own country, never the previous contact's.
void TForm3::resolveEntry()
{
    const QString call = MaskEditCall->text();
    EntryPrefix.reset();
    if (call.isEmpty() || !DM->Table2.isActive() || !DM->Table3.isActive())
        return;
    EntryPrefix = resolvePrefix(DM->Table2, DM->Table3, call, resolvedCharacters);
}

void TForm3::addDistanceAndHeading(InfoTexts &info) const
{
    // An own position that does not parse leaves the reset texts: no message
    // on every keystroke.
    const auto lat = ConfigMasks::positionValue(Config->MaskEditLat->text());
    const auto lon = ConfigMasks::positionValue(Config->MaskEditLon->text());
    if (!lat || !lon || !EntryPrefix)
        return;
    const Bearing b = greatCircle(*lat, *lon, EntryPrefix->latitude, EntryPrefix->longitude);
    info.distance = QString::number(b.distanceKm);
    info.heading = QString::number(b.heading);
    info.backHeading = QString::number(b.backHeading);
}

void TForm3::addLocalTime(InfoTexts &info) const
{
    // The offset as the main clock reads it; one that does not parse leaves
    // the reset text.
    const QDateTime local = MainClock::now();
    const auto offset = MainClock::utcOffset(Config->MaskEditT->text(), Config->MaskEdit2T->text(), local);
    if (!offset || !EntryPrefix)
        return;
    const QDateTime utc = MainClock::shifted(local, *offset);
    info.localTime = otherStationTime(utc.time(), EntryPrefix->timeDiff);
}

// While a contest runs or the repetition view is on: the zone's row, the
// country hint, the count of earlier contacts and the latest one.
void TForm3::followRepetitions(const QString &call)
{
    const QString zone = Label_ZCQ->text();
    if (zoneShown(zone)) {
        DM->DataSource5.setEnabled(true);
        if (DM->Table5.isActive())
            DM->Table5.locate(QStringLiteral("Zone"), zone);
    } else {
        DM->DataSource5.setEnabled(false);
    }
    const bool contest = !OptionRep->isEnabled();
    const QString country = LabelCount->text().left(15);
    LabelPw->setVisible(contest && EntryPrefix && DM->LogLookup.isActive() &&
                        DM->LogLookup.locate(QStringLiteral("LogObl"), country));
    if (!DM->Table7.isActive())
        return;
    Db::Table &log = DM->Table7;
    if (log.indexName() != QLatin1String("ByCall"))
        log.setIndexName(QStringLiteral("ByCall"));
    // The repeat and contest grids show every callsign that begins with the
    // text, standing on the latest contact with exactly this callsign (the
    // last of its rows in callsign order) rather than a longer callsign.
    log.setRange(call, call + rangeEnd);
    const bool found = !call.isEmpty() && log.locateLast(QStringLiteral("LogCall"), call);
    if (!found)
        log.last();
    const bool worked = contest && found;
    const QString lastQso = !worked ? QString()
                                    : QStringLiteral("Last QSO at ") + log.fieldByName(QStringLiteral("LogTime")).asString() +
                                          u' ' + log.fieldByName(QStringLiteral("LogMode")).asString() + u' ' +
                                          log.fieldByName(QStringLiteral("LogBand")).asString();
    Cont->Label2->setText(QString::number(log.recordCount()));
    LabelPw1->setVisible(worked);
    if (worked) {
        LabelPw1->setText(lastQso);
        LabelPw->hide();
    }
}

void TForm3::MaskEditCallChange()
{
    if (!DM)
        return; // before the data module exists nothing can be resolved
    const QString call = MaskEditCall->text();
    const int L = int(call.size());
    QRZ->Edit1->setText(call);
    if (ButtonEdit->text() == QLatin1String("Edit"))
        Ui::setMemoText(MemoNot, {});
    InfoTexts info;
    resolveEntry();
    if (L > 1) {
        if (EntryPrefix) {
            info.prefix = EntryPrefix->dxccPrefix;
            info.country = EntryPrefix->country;
            info.cqZone = EntryPrefix->cqZone;
            info.ituZone = EntryPrefix->ituZone;
            info.continent = EntryPrefix->continent;
            if (OptionDXCC->isChecked())
                info.indicators = BandIndicators::colours(&DM->Table4);
            else if (OptionUR->isChecked())
                info.indicators = BandIndicators::colours(&DM->Table9);
            else if (OptionWAZ->isChecked() && zoneShown(info.cqZone) && DM->Table5.isActive() &&
                     DM->Table5.locate(QStringLiteral("Zone"), info.cqZone))
                info.indicators = BandIndicators::colours(&DM->Table5);
            if (L > 3 && DM->LogLookup.isActive()) {
                const bool inLog = DM->LogLookup.locate(QStringLiteral("LogObl"), info.country.left(15));
                info.inLog = inLog ? BandIndicators::green : BandIndicators::grey;
            }
        }
        addDistanceAndHeading(info);
    }
    if (L < 3) {
        TimStopClear->setChecked(true);
        Timer3->stop();
        for (QLabel *l : {LabelS, LabelM, LabelH})
            l->setText(QStringLiteral("00"));
    }
    if (L > 3)
        addLocalTime(info);
    showInfo(info);
    restartRecording(L);
    if (ContStart->isChecked() || OptionRep->isChecked())
        followRepetitions(call);
}

// The recording runs from the last change of the callsign. A recorder that
// fails is reported once per callsign, not on every key, and the entry goes
// on without it.
void TForm3::restartRecording(int callLength)
{
    if (callLength < 3)
        recorderFailureShown_ = false;
    if (callLength < 3 || !SoundAutosave->isChecked())
        return;
    try {
        SoundR->closeMediaPlayer();
        SoundR->ButtonRecClick();
    } catch (...) {
        if (!std::exchange(recorderFailureShown_, true))
            Ui::showError(Ui::errorText(std::current_exception()));
    }
}

bool TForm3::MaskEditCallKeyPress(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.size() != 1)
        return false;
    const QChar key = callsignKey(typed.at(0));
    if (key == typed.at(0))
        return false;
    // The replaced character enters the field once, so the change handler
    // runs once per key.
    MaskEditCall->insert(QString(key));
    return true;
}

void TForm3::OptionDXCCClick()
{
    showIndicators(QList<int>(11, BandIndicators::grey));
    Ui::setFontColor(Label26, BandIndicators::grey);
    OptionDXCC->setChecked(true);
    Label19->setText(QStringLiteral("DXCC Mixed"));
    if (MaskEditCall->text().size() > 1) {
        resolveEntry();
        if (EntryPrefix)
            showIndicators(BandIndicators::colours(&DM->Table4));
    }
}

void TForm3::OptionURClick()
{
    showIndicators(QList<int>(11, BandIndicators::grey));
    Ui::setFontColor(Label26, BandIndicators::grey);
    OptionUR->setChecked(true);
    Label19->setText(QStringLiteral("Ukraine - Russia"));
    const int L = int(MaskEditCall->text().size());
    if (L > 0)
        resolveEntry();
    // This option colours only from three characters on.
    if (L > 2 && EntryPrefix)
        showIndicators(BandIndicators::colours(&DM->Table9));
}

void TForm3::OptionWAZClick()
{
    OptionWAZ->setChecked(true);
    showIndicators(QList<int>(11, BandIndicators::grey));
    Ui::setFontColor(Label26, BandIndicators::grey);
    Label19->setText(QStringLiteral("WAZ Mixed"));
    // The zone shown in the Info box decides; nothing is resolved here.
    const QString zone = Label_ZCQ->text();
    if (MaskEditCall->text().size() > 1 && zoneShown(zone) && DM->Table5.isActive() &&
        DM->Table5.locate(QStringLiteral("Zone"), zone))
        showIndicators(BandIndicators::colours(&DM->Table5));
}
