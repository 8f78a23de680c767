#include "core/AboutBox.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Guard.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TAboutBox *AboutBox = nullptr;

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    return Ui::label(text, parent, name);
}

} // namespace

TAboutBox::TAboutBox() : Ui::Window(QStringLiteral("AboutBox"), QStringLiteral("About"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    ProgramIcon = label(central, "ProgramIcon", QString());
    ProgramIcon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    ProductName = label(central, "ProductName", QStringLiteral("Tarnel"));
    QFont large = ProductName->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.6);
    ProductName->setFont(large);
    Version = label(central, "Version", QStringLiteral("Version %1").arg(QStringLiteral(TARNEL_VERSION)));
    Comments = label(central, "Comments",
                     QStringLiteral("A logbook for one amateur-radio station: contacts, awards, contests,\n"
                                    "log exchange and the station's keyer and recorder."));
    OKButton = new QPushButton(QStringLiteral("OK"), central);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    auto *layout = new QVBoxLayout(central);
    for (QWidget *w : {static_cast<QWidget *>(ProgramIcon), static_cast<QWidget *>(ProductName),
                       static_cast<QWidget *>(Version), static_cast<QWidget *>(Comments)})
        layout->addWidget(w, 0, Qt::AlignHCenter);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    Ui::connectGuarded(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
}
