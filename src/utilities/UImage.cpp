#include "utilities/UImage.h"

#include "core/Unit3.h"
#include "platform/image/ImageDecoder.h"
#include "platform/table/DbGrid.h"
#include "platform/table/TableError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/ui/MenuItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

TFImage *FImage = nullptr;

namespace PictureStore {

void addPicture(Db::Table &table, const QString &path, const QDateTime &when)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Db::TableError(QStringLiteral("Cannot open file %1").arg(path), path);
    const QByteArray bytes = file.readAll();
    const QString name = QFileInfo(path).fileName();
    table.append();
    try {
        table.fieldByName(QStringLiteral("Call")).setAsString(name);
        table.fieldByName(QStringLiteral("R1")).setAsString(name);
        table.fieldByName(QStringLiteral("Date_Time")).setAsDateTime(when);
        table.fieldByName(QStringLiteral("Fot1")).setAsBytes(bytes);
        table.post();
    } catch (...) {
        // A second picture in the same second: the row is not left half made.
        table.cancel();
        throw;
    }
}

void applySearch(Db::Table &table, const QString &text)
{
    table.setIndexName(QStringLiteral("ByCall"));
    // The top character closes the range, so every name with the prefix is in it.
    table.setRange(text, text + QString(13, QChar(0xFFFF)));
    table.last();
}

int clearRange(Db::Table &table)
{
    int deleted = 0;
    for (table.first(); !table.isEmpty(); table.first()) {
        table.deleteRecord();
        ++deleted;
    }
    return deleted;
}

} // namespace PictureStore

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(200, 150);
}

void PictureView::setPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void PictureView::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

namespace {

QString programDir()
{
    return Form3 ? Form3->EditDir->text() : QDir::currentPath();
}

} // namespace

TFImage::TFImage() : Ui::Window(QStringLiteral("FImage"), QStringLiteral("Images"))
{
    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    DBGrid1 = new Db::DbGrid(central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    Image1 = new PictureView(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    auto *side = new QVBoxLayout;
    const auto button = [this, central](QPushButton *&b, const char *name, const QString &caption, void (TFImage::*handler)()) {
        b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    button(Button1, "Button1", QStringLiteral("Add"), &TFImage::Button1Click);
    button(Button4, "Button4", QStringLiteral("Save"), &TFImage::Button4Click);
    button(Button3, "Button3", QStringLiteral("Refresh"), &TFImage::Button3Click);
    button(Button2, "Button2", QStringLiteral("Close"), &TFImage::Button2Click);
    RadioGroup1 = new Ui::RadioGroupBox(QStringLiteral("RadioGroup1"), QStringLiteral(" Sorted "),
                                        {QStringLiteral("Name"), QStringLiteral("Date")}, central);
    RadioGroup1->setItemIndex(0);
    for (QRadioButton *radio : RadioGroup1->findChildren<QRadioButton *>())
        Ui::connectGuarded(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RadioGroup1Click();
        });
    auto *search = new QGroupBox(QStringLiteral(" Search "), central);
    auto *searchLayout = new QHBoxLayout(search);
    Edit1 = new QLineEdit(search);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1 = Ui::label(QStringLiteral("*"), search);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setVisible(false);
    searchLayout->addWidget(Edit1);
    searchLayout->addWidget(Label1);
    searchLayout->addWidget(Button3);
    Ui::connectGuarded(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    side->addWidget(Button1);
    side->addWidget(RadioGroup1);
    side->addWidget(Button4);
    side->addWidget(search);
    side->addStretch();
    side->addWidget(Button2);
    // The grid keeps the width of its columns; the picture takes the rest.
    layout->addWidget(DBGrid1);
    layout->addWidget(Image1, 1);
    layout->addLayout(side);
    setCentralWidget(central);

    QMenu *menu = menuBar()->addMenu(QStringLiteral("Images"));
    const auto item = [this, menu](const char *name, const QString &caption, void (TFImage::*handler)()) {
        auto *i = new Ui::MenuItem(QString::fromLatin1(name), caption, this);
        i->setHandler([this, handler] { (this->*handler)(); });
        menu->addAction(i);
        return i;
    };
    Delete1 = item("Delete1", QStringLiteral("Delete"), &TFImage::Delete1Click);
    Clear1 = item("Clear1", QStringLiteral("Clear"), &TFImage::Clear1Click);

    Table1.setFieldView(QStringLiteral("Call"), QStringLiteral("Name"), 20);
    Table1.setFieldView(QStringLiteral("Date_Time"), QStringLiteral("Date  Time"), 19);
    Table1.setFieldView(QStringLiteral("R1"), QStringLiteral("File name"), 20);
    for (const char *hidden : {"R2", "R3", "R4", "Fot1", "Fot2"})
        Table1.setFieldVisible(QString::fromLatin1(hidden), false);
    Table1.setFieldOrder({QStringLiteral("Call"), QStringLiteral("Date_Time"), QStringLiteral("R1")});
    DataSource1.setDataSet(&Table1);
    // The operator names a picture after its callsign right in the grid.
    DBGrid1->setEditableFields({QStringLiteral("Call")});
    DBGrid1->setDataSource(&DataSource1);
    Ui::connectGuarded(&DataSource1, &Db::DataSource::dataChange, this, [this] { DataSource1DataChange(); });
}

void TFImage::openTable()
{
    if (Table1.isActive())
        return;
    const QString dir = programDir() + QStringLiteral("/Sound/Table/");
    if (Database1.directory() != dir) {
        Database1.close();
        Database1.setDirectory(dir);
    }
    Table1.open();
}

// Opened on first use (show, add, look-up): a missing picture store is
// reported when pictures are wanted, not among the start-up tables.
void TFImage::FormCreate() {}
void TFImage::FormActivate() { openTable(); }

void TFImage::Button1Click()
{
    const QString path = Ui::openFileName({QString(), QStringLiteral("BMP (*.bmp *.jpg);;All (*)"), {}, {}, {}});
    if (path.isEmpty())
        return;
    const Db::Detached detached{&DataSource1};
    openTable();
    PictureStore::addPicture(Table1, path, now());
}

void TFImage::DataSource1DataChange()
{
    Label1->setVisible(!Edit1->text().isEmpty());
    if (!Table1.isActive() || Table1.isEmpty() || Table1.fieldByName(QStringLiteral("R1")).asString().isEmpty()) {
        Image1->setPicture({});
        return;
    }
    // Decoded in memory: no temporary file, and the bytes decide the format.
    QImage picture;
    try {
        // Never shown larger than the screen: a camera picture is decoded
        // at that size, not at its own.
        const QScreen *screen = Image1->screen();
        picture = Image::decode(Table1.fieldByName(QStringLiteral("Fot1")).asBytes(),
                                screen ? screen->size() : QSize());
    } catch (...) {
        Image1->setPicture({});
        throw;
    }
    Image1->setPicture(picture);
}

void TFImage::Edit1Change()
{
    openTable();
    PictureStore::applySearch(Table1, Edit1->text());
}

void TFImage::RadioGroup1Click()
{
    Edit1->clear();
    Table1.refresh();
    const Db::Detached detached{&DataSource1};
    Table1.setIndexName(RadioGroup1->itemIndex() == 1 ? QStringLiteral("ByDate") : QStringLiteral("ByCall"));
}

void TFImage::Button3Click()
{
    Edit1->clear();
    Table1.refresh();
    Table1.setIndexName(QStringLiteral("ByCall"));
    RadioGroup1->setItemIndex(0);
}

void TFImage::Button4Click()
{
    const QString name = Table1.fieldByName(QStringLiteral("R1")).asString();
    const QString path = Ui::saveFileName({QString(), QString(), {}, name, {}});
    if (!path.isEmpty())
        Table1.fieldByName(QStringLiteral("Fot1")).saveToFile(path);
}

void TFImage::Delete1Click()
{
    if (!Table1.isEmpty())
        Table1.deleteRecord();
}

void TFImage::Clear1Click()
{
    const Db::Detached detached{&DataSource1};
    PictureStore::clearRange(Table1);
}

void TFImage::Button2Click() { closeWindow(); }

void TFImage::showByName()
{
    openTable();
    Table1.setIndexName(QStringLiteral("ByCall"));
    RadioGroup1->setItemIndex(0);
    showWindow();
}

bool TFImage::showPictureOf(const QString &callsign)
{
    openTable();
    if (Table1.locate(QStringLiteral("Call"), callsign)) {
        showWindow();
        return true;
    }
    closeWindow();
    return false;
}

bool TFImage::hasPictureOf(const QString &callsign) const
{
    if (!lookup_.isActive()) {
        const_cast<TFImage *>(this)->openTable();
        lookup_.open();
    }
    return lookup_.locate(QStringLiteral("Call"), callsign);
}

void TFImage::closePictures()
{
    Table1.close();
    lookup_.close();
}

void TFImage::reopenPictures()
{
    openTable();
    Table1.last();
}

void showImagesWindow()
{
    FImage->showByName();
}
