#include "awards/ReferenceWindows.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "awards/FIota.h"
#include "awards/FWas.h"
#include "core/Unit3.h"

AwardReference::Fields referenceFields()
{
    AwardReference::Fields f;
    f.iotaLetters = FIota->Edit1->text();
    f.iotaNumber = FIota->Edit2->text();
    f.iotaIsland = FIota->Edit3->text();
    f.wasState = FWas->Edit1->text();
    f.wasInfo = FWas->Edit2->text();
    f.mainA = FDipA->Edit1->text();
    f.infoA = FDipA->Edit2->text();
    f.mainB = FDipB->Edit1->text();
    f.infoB = FDipB->Edit2->text();
    return f;
}

QString encodeReferenceWindows()
{
    return AwardReference::encode(referenceFields());
}

void showAwardReference(const QString &logOther, const ReferenceSettings &settings)
{
    using AwardReference::Kind;
    const AwardReference::Decoded d = AwardReference::decode(logOther);
    struct Target {
        Kind kind;
        bool enabled;
        Ui::Window *window;
        QList<Ui::MaskEdit *> edits;
    };
    const Target targets[] = {
        {Kind::Iota, settings.iota, FIota, {FIota->Edit1, FIota->Edit2, FIota->Edit3}},
        {Kind::Was, settings.was, FWas, {FWas->Edit1, FWas->Edit2}},
        {Kind::AwardB, settings.awardB, FDipB, {FDipB->Edit1, FDipB->Edit2}},
        {Kind::AwardA, settings.awardA, FDipA, {FDipA->Edit1, FDipA->Edit2}},
    };
    const QString parts[] = {d.field1, d.field2, d.field3};
    for (const Target &t : targets) {
        if (d.kind != t.kind || !t.enabled) {
            t.window->closeWindow();
            continue;
        }
        t.window->showWindow();
        for (int i = 0; i < t.edits.size(); ++i)
            t.edits[i]->setText(parts[i]);
        if (Form3->Label23->text() != QLatin1String("New"))
            Form3->showWindow();
    }
}
