#include "core/GlavnMod.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "awards/FIota.h"
#include "awards/FMemAw.h"
#include "awards/FWas.h"
#include "awards/UAdPref.h"
#include "awards/UDxcc.h"
#include "awards/UEditPr.h"
#include "contest/UCabrill.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "core/AboutBox.h"
#include "core/FConfirm.h"
#include "core/FVihod.h"
#include "core/FiltCal.h"
#include "core/Filter.h"
#include "core/Form1.h"
#include "core/Povt.h"
#include "core/Progress.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "lookups/UCallInt.h"
#include "lookups/UCluster.h"
#include "lookups/UVCD.h"
#include "platform/ui/Guard.h"
#include "station/FUpdate.h"
#include "station/UCw.h"
#include "station/UMixW.h"
#include "station/UPtt.h"
#include "station/USound.h"
#include "utilities/ULabPrin.h"
#include "utilities/ULabel.h"
#include "utilities/UImage.h"
#include "utilities/UPack.h"
#include "utilities/UPrntr.h"
#include "utilities/UPrntrContest.h"
#include "utilities/USked.h"
#include "utilities/UTimer.h"

#include <functional>
#include <vector>

namespace {

struct Created {
    QString name;
    std::function<void()> destroy;
};

std::vector<Created> &created()
{
    static std::vector<Created> list;
    return list;
}

template <typename T>
void make(T *&global, const char *name)
{
    global = new T();
    created().push_back({QString::fromLatin1(name), [&global] {
                             delete global;
                             global = nullptr;
                         }});
    T *window = global;
    Ui::runGuarded([window] { window->FormCreate(); });
}

} // namespace

void createWindowSet()
{
    make(Form3, "Form3");
    make(FIota, "FIota");
    make(FWas, "FWas");
    make(FDipB, "FDipB");
    make(FDipA, "FDipA");
    make(Config, "Config");
    DM = new TDM();
    created().push_back({QStringLiteral("DM"), [] {
                             delete DM;
                             DM = nullptr;
                         }});
    Ui::runGuarded([] { DM->DataModuleCreate(); });
    make(Form1, "Form1");
    make(AwDx, "AwDx");
    make(FoTimer, "FoTimer");
    make(SoundR, "SoundR");
    make(Povt, "Povt");
    make(VCD, "VCD");
    make(Filter, "Filter");
    make(AddPref, "AddPref");
    make(FormEditPref, "FormEditPref");
    make(Progress, "Progress");
    make(AboutBox, "AboutBox");
    make(FUtil, "FUtil");
    make(ContConf, "ContConf");
    make(Cont, "Cont");
    make(FiltCal, "FiltCal");
    make(FVihod, "FVihod");
    make(FSkeds, "FSkeds");
    make(Flabel, "Flabel");
    make(FLabPrint, "FLabPrint");
    make(FMemAw, "FMemAw");
    make(FCW, "FCW");
    make(FPtt, "FPtt");
    make(FImage, "FImage");
    make(FConfirm, "FConfirm");
    make(FPrntr, "FPrntr");
    make(FUpdate, "FUpdate");
    make(MixT, "MixT");
    make(FDX_Cluster, "FDX_Cluster");
    make(QRZ, "QRZ");
    make(FCabrillo, "FCabrillo");
    make(FPrintContest, "FPrintContest");
    // Links between windows, once every window exists.
    Ui::runGuarded([] { Form3->bindLogGrid(); });
    Ui::runGuarded([] { Povt->bindGrid(); });
    // The windows the program shows beside the entry: above the main window,
    // never over its entry fields, buttons and Info panel.
    for (Ui::Window *w : std::initializer_list<Ui::Window *>{Povt, VCD, FConfirm, FImage, Cont, FIota, FWas, FDipA, FDipB,
                                                             FoTimer->SoundFailure, Form3->LogDamage})
        w->setBeside(Form3, {Form3->PanelEntry, Form3->GroupBoxInfo});
    // Only now: its tick reads the contest settings and the exit time.
    Form3->startClock();
    // A timed recording leaves the operator's own alone.
    TFoTimer::setRecorderState([] { return SoundR && SoundR->isRecording(); });
}

void destroyWindowSet()
{
    // The grid lets go of the log before the data module goes.
    auto &list = created();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        it->destroy();
    list.clear();
}

QStringList windowSetOrder()
{
    QStringList names;
    for (const Created &c : created())
        names << c.name;
    return names;
}
