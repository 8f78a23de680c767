#pragma once
// Picture store: pictures kept whole in the table Pict.db, each labelled with
// a name meant to be the other station's callsign.

#include "platform/table/DataSource.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/ui/Window.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
namespace Db {
class DbGrid;
}
namespace Ui {
class MenuItem;
class RadioGroupBox;
} // namespace Ui

// The rules of the store, on any cursor of the picture table.
namespace PictureStore {

// Appends the file's picture: `Call` and `R1` its name without folder (cut to
// the field width), `Date_Time` `when`, `Fot1` its bytes.
void addPicture(Db::Table &table, const QString &path, const QDateTime &when);
// The rows whose `Call` begins with `text`, whatever its case; the last of
// them current. An empty text holds every row.
void applySearch(Db::Table &table, const QString &text);
// Deletes every row of the current range (the whole table without one).
int clearRange(Db::Table &table);

} // namespace PictureStore

// The picture area: the picture centred, scaled in proportion to fill it.
class PictureView : public QWidget {
public:
    explicit PictureView(QWidget *parent = nullptr);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};

class TFImage : public Ui::Window {
    Q_OBJECT
public:
    TFImage();

    Db::Database Database1{QStringLiteral("Sounds")};
    Db::Table Table1{&Database1, QStringLiteral("Pict.db")};
    Db::DataSource DataSource1;

    Db::DbGrid *DBGrid1;
    PictureView *Image1;
    QPushButton *Button1, *Button2, *Button3, *Button4;
    Ui::RadioGroupBox *RadioGroup1;
    QLineEdit *Edit1;
    QLabel *Label1;
    Ui::MenuItem *Delete1, *Clear1;

    // When a picture is added; tests set their own clock.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    void FormCreate() override;
    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void DataSource1DataChange();
    void Edit1Change();
    void RadioGroup1Click();
    void Delete1Click();
    void Clear1Click();

    // The main window's "Images": sorted by name, shown.
    void showByName();
    // Record browsing: shows the window on the row whose `Call` is `callsign`
    // exactly (case-sensitive), else closes it; true when a row matched.
    bool showPictureOf(const QString &callsign);
    // The look-up chain: whether such a row exists, without a move or a show.
    bool hasPictureOf(const QString &callsign) const;

    // Around a rebuild of Pict.db: every cursor on the file closed, then
    // opened again on the last row.
    void closePictures();
    void reopenPictures();

private:
    void openTable();
    // Exact look-ups on a cursor of their own, never limited by a search.
    mutable Db::Table lookup_{&Database1, QStringLiteral("Pict.db")};
};

extern TFImage *FImage;

// Images1Click of the main window.
void showImagesWindow();
