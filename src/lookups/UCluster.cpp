#include "lookups/UCluster.h"

#include "core/BandsAndModes.h"
#include "core/PrefixResolver.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "lookups/SpotLines.h"
#include "platform/table/Table.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/web/PageLoader.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <optional>
#include <stdexcept>

TFDX_Cluster *FDX_Cluster = nullptr;

namespace {

constexpr int columns = 8;
constexpr int gridRows = 252;
constexpr int fetchTimeoutMs = 30000;
constexpr int markColumn = 7;
const char *const defaultSpotUrl = "http://www.dxsummit.fi/dxs/dx250.html";

} // namespace

struct TFDX_Cluster::Cursors {
    Db::Table allpref{&DM->Database2, QStringLiteral("Allpref")};
    Db::Table prefix{&DM->Database2, QStringLiteral("Prefix")};
    Db::Table dxcc{&DM->Database4, QStringLiteral("Dxcc")};
    std::optional<PrefixRow> row;

    Cursors() { prefix.setMasterLink(&allpref, QStringLiteral("MainPrefix"), QStringLiteral("Prefix")); }
    // Closed with their database (a rebuild, a new directory): opened again
    // when next needed.
    void open()
    {
        for (Db::Table *t : {&allpref, &prefix, &dxcc})
            if (!t->isActive())
                t->open();
    }
};

TFDX_Cluster::TFDX_Cluster() : Ui::Window(QStringLiteral("FDX_Cluster"), QStringLiteral("DX Cluster"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    const auto label = [](const char *name, const QString &text, QWidget *parent) {
        return Ui::label(text, parent, name);
    };
    const auto button = [&](const char *name, const QString &text, QWidget *parent) {
        return static_cast<QPushButton *>(named(new QPushButton(text, parent), name));
    };

    WebBrowser1 = new Web::PageLoader(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setTimeout(fetchTimeoutMs);
    Memo1 = static_cast<QPlainTextEdit *>(named(new QPlainTextEdit(central), "Memo1"));
    Memo1->hide();

    StringGrid1 = static_cast<QTableWidget *>(named(new QTableWidget(gridRows, columns, central), "StringGrid1"));
    // The title row stays in view above the spots as the header, whose
    // column borders the operator may drag; row 0 holds the same titles.
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setRowHidden(0, true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(15);
    QFont bold = StringGrid1->font();
    bold.setBold(true);
    StringGrid1->setFont(bold);
    StringGrid1->horizontalHeader()->setFont(bold);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[columns] = {10, 80, 65, 65, 147, 44, 45, 37};
    for (int c = 0; c < columns; ++c)
        StringGrid1->setColumnWidth(c, widths[c]);
    layout->addWidget(StringGrid1, 1);

    auto *panel = named(new QWidget(central), "Panel1");
    auto *row = new QHBoxLayout(panel);
    Button2 = button("Button2", QStringLiteral("DX Cluster"), panel);
    ProgressBar1 = static_cast<QProgressBar *>(named(new QProgressBar(panel), "ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Button3 = button("Button3", QStringLiteral("Close"), panel);
    GroupBox1 = static_cast<QGroupBox *>(named(new QGroupBox(panel), "GroupBox1"));
    auto *chosen = new QHBoxLayout(GroupBox1);
    LabCal = label("LabCal", QStringLiteral("***"), GroupBox1);
    LabFr = label("LabFr", QStringLiteral("***"), GroupBox1);
    Label1 = label("Label1", QStringLiteral("MHz"), GroupBox1);
    LabFreq = label("LabFreq", QStringLiteral("0"), GroupBox1);
    Label3 = label("Label3", QString(), GroupBox1);
    LabFreq->hide();
    Label3->hide();
    for (QLabel *l : {LabCal, LabFr, Label1})
        chosen->addWidget(l);
    Button1 = button("Button1", QString(), panel);
    Button4 = button("Button4", QString(), panel);
    Button5 = button("Button5", QString(), panel);
    Button6 = button("Button6", QString(), panel);
    for (QPushButton *b : {Button1, Button4, Button5, Button6})
        b->hide();
    row->addWidget(Button2);
    row->addWidget(ProgressBar1);
    row->addWidget(GroupBox1);
    row->addWidget(Button3);
    layout->addWidget(panel);

    GroupBox2 = static_cast<QGroupBox *>(named(new QGroupBox(central), "GroupBox2"));
    auto *country = new QHBoxLayout(GroupBox2);
    LabelPref = label("LabelPref", QString(), GroupBox2);
    LabelCount = label("LabelCount", QString(), GroupBox2);
    Label_ZCQ = label("Label_ZCQ", QStringLiteral("00"), GroupBox2);
    Label_ZITU = label("Label_ZITU", QStringLiteral("00"), GroupBox2);
    LabelCont = label("LabelCont", QStringLiteral("NO"), GroupBox2);
    LabCfm = label("LabCfm", QStringLiteral("NO"), GroupBox2);
    country->addWidget(LabelPref);
    country->addWidget(LabelCount);
    country->addWidget(Ui::label(QStringLiteral("CQ"), GroupBox2));
    country->addWidget(Label_ZCQ);
    country->addWidget(Ui::label(QStringLiteral("ITU"), GroupBox2));
    country->addWidget(Label_ZITU);
    country->addWidget(LabelCont);
    country->addWidget(Ui::label(QStringLiteral("This Country"), GroupBox2));
    country->addWidget(LabCfm);
    layout->addWidget(GroupBox2);

    const std::pair<QPushButton *, void (TFDX_Cluster::*)()> clicks[] = {
        {Button1, &TFDX_Cluster::Button1Click}, {Button2, &TFDX_Cluster::Button2Click},
        {Button3, &TFDX_Cluster::Button3Click}, {Button4, &TFDX_Cluster::Button4Click},
        {Button5, &TFDX_Cluster::Button5Click}, {Button6, &TFDX_Cluster::Button6Click},
    };
    for (const auto &[b, handler] : clicks)
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
    Ui::connectGuarded(StringGrid1, &QTableWidget::cellClicked, this, [this] { StringGrid1Click(); });
    Ui::connectGuarded(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this] { StringGrid1DblClick(); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::downloadBegin, this, [this] { WebBrowser1DownloadBegin(); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::loaded, this,
                       [this](const Web::Document &page) { WebBrowser1DownloadComplete(&page); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::failed, this, [this] { WebBrowser1DownloadComplete(nullptr); });
    // A double click on the chosen spot's labels hands it over.
    auto *handOver = new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() != QEvent::MouseButtonDblClick)
                return false;
            Button5->click();
            return true; // handed over once, not again by the group around the label
        },
        this);
    for (QWidget *w : std::initializer_list<QWidget *>{LabCal, LabFr, Label1, GroupBox1})
        w->installEventFilter(handOver);
    // Opens showing every column of the grid.
    const QMargins margins = layout->contentsMargins();
    resize(Ui::allColumnsWidth(StringGrid1) + margins.left() + margins.right(), 520);
}

TFDX_Cluster::~TFDX_Cluster() = default;

QString TFDX_Cluster::spotUrl()
{
    return Web::urlFromEnvironment("TARNEL_SPOT_URL", QString::fromLatin1(defaultSpotUrl));
}

void TFDX_Cluster::FormCreate()
{
    const char *const titles[columns] = {"", "       DX", "  Freq", "  Spotter", "  Coment", "  Time", "  Date", ""};
    for (int c = 0; c < columns; ++c)
        setCell(c, 0, QString::fromLatin1(titles[c]));
}

QString TFDX_Cluster::cell(int column, int row) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

void TFDX_Cluster::setCell(int column, int row, const QString &text)
{
    if (QTableWidgetItem *item = StringGrid1->item(row, column))
        item->setText(text);
    else
        StringGrid1->setItem(row, column, new QTableWidgetItem(text));
    if (row == 0)
        StringGrid1->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
}

QString TFDX_Cluster::filePath(const char *name) const
{
    return QDir(Form3->EditDir->text()).filePath(QString::fromLatin1(name));
}

void TFDX_Cluster::Button2Click()
{
    ProgressBar1->setValue(5);
    WebBrowser1->load(QUrl(spotUrl()));
    ProgressBar1->setValue(15);
}

void TFDX_Cluster::WebBrowser1DownloadBegin()
{
    ProgressBar1->setValue(30);
}

void TFDX_Cluster::WebBrowser1DownloadComplete(const Web::Document *page)
{
    page_ = page ? std::make_unique<Web::Document>(*page) : nullptr;
    Button1->click();
}

void TFDX_Cluster::Button1Click()
{
    ProgressBar1->setValue(100);
    Memo1->clear();
    const std::unique_ptr<Web::Document> page = std::move(page_);
    if (!page) {
        Ui::showWarning(QStringLiteral("No access to Internet! "));
        return;
    }
    // The page's whole text, once: a page of fewer than ten elements
    // (an error stub) holds no spots.
    if (page->count() >= 10)
        Memo1->setPlainText(page->wholeText());
    Button4->click();
}

void TFDX_Cluster::Button4Click()
{
    writeWorkingFile(filePath("clust.tmp"), Memo1->toPlainText().toUtf8());
    // A shorter page leaves no spots of the last one behind.
    for (int r = 1; r <= spotRows; ++r)
        for (int c = 1; c < columns; ++c)
            setCell(c, r, QString());
    parse(true);
}

void TFDX_Cluster::writeWorkingFile(const QString &path, const QByteArray &bytes)
{
    // The window's own files, made afresh each time: whatever stands at their
    // names (a link planted by an archive the program directory came from)
    // is removed, never written through.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(("Cannot create " + path + ": " + file.errorString()).toStdString());
}

void TFDX_Cluster::Button6Click()
{
    parse(false);
}

void TFDX_Cluster::parse(bool withMarks)
{
    QFile spots(filePath("clust.tmp"));
    if (!spots.exists())
        return;
    if (QFileInfo(spots).isSymLink() || !QFileInfo(spots).isFile())
        throw std::runtime_error((spots.fileName() + " is not the window's own file").toStdString());
    if (!spots.open(QIODevice::ReadOnly))
        throw std::runtime_error(("Cannot open " + spots.fileName() + ": " + spots.errorString()).toStdString());
    writeWorkingFile(filePath("cluster.tmp"), {});
    const QStringList lines = QString::fromUtf8(spots.readAll()).split(u'\n');
    spots.close();
    // A text ending in a line break has no line after it.
    const int count = std::min<int>(spotRows, int(lines.size()) - (lines.endsWith(QString()) ? 1 : 0));
    std::unique_ptr<PrefixCache> cache;
    for (int r = 1; r <= count; ++r) {
        QString line = lines[r - 1];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const SpotLines::Spot spot = SpotLines::parse(line);
        setCell(3, r, spot.spotter);
        setCell(2, r, spot.frequency);
        setCell(1, r, spot.dx);
        setCell(4, r, spot.comment);
        setCell(5, r, spot.time);
        setCell(6, r, spot.date);
        if (!withMarks)
            continue;
        const QString band = SpotLines::bandKey(spot.frequency);
        LabFr->setText(band);
        if (spot.dx.size() > 2)
            LabCal->setText(spot.dx);
        setCell(markColumn, r, resolve(spot.dx, &cache) ? mark(band) : QString());
    }
    QFile::remove(filePath("cluster.tmp"));
    showWholeColumns();
}

void TFDX_Cluster::showWholeColumns()
{
    // A column never narrower than what it holds; the window as wide as its
    // columns then need, as far as its screen goes.
    const QAbstractItemView *view = StringGrid1;
    for (int c = 0; c < columns; ++c)
        StringGrid1->setColumnWidth(c, std::max(StringGrid1->columnWidth(c), view->sizeHintForColumn(c)));
    const int missing = Ui::allColumnsWidth(StringGrid1) - StringGrid1->width();
    if (missing > 0)
        growTo(QSize(width() + missing, height()));
}

bool TFDX_Cluster::resolve(const QString &dx, std::unique_ptr<PrefixCache> *cache)
{
    if (!cursors_)
        cursors_ = std::make_unique<Cursors>();
    cursors_->row.reset();
    if (dx.size() <= 2 || !DM->Database2.isConnected() || !DM->Database4.isConnected())
        return false;
    cursors_->open();
    if (!cache) {
        cursors_->row = resolvePrefix(cursors_->allpref, cursors_->prefix, dx, resolvedCharacters);
    } else {
        if (!*cache)
            *cache = std::make_unique<PrefixCache>(cursors_->allpref, cursors_->prefix, resolvedCharacters);
        cursors_->row = (*cache)->resolve(dx);
    }
    return cursors_->row.has_value();
}

QString TFDX_Cluster::mark(const QString &band)
{
    const Band *b = findBand(band);
    Db::Table &dxcc = cursors_->dxcc;
    if (!b || b->awardCell.isEmpty() || !dxcc.locate(QStringLiteral("Prefix"), cursors_->row->dxccPrefix))
        return {};
    const QString value = dxcc.fieldByName(QString(b->awardCell)).asString();
    return value == QLatin1String("wkd") || value == QLatin1String("cfm") ? value : QString();
}

void TFDX_Cluster::showCountry(int row)
{
    const bool found = resolve(LabCal->text());
    const PrefixRow none;
    const PrefixRow &p = found ? *cursors_->row : none;
    LabelPref->setText(p.dxccPrefix);
    LabelCount->setText(p.country);
    Label_ZCQ->setText(found ? p.cqZone : QStringLiteral("00"));
    Label_ZITU->setText(found ? p.ituZone : QStringLiteral("00"));
    LabelCont->setText(found ? p.continent : QStringLiteral("NO"));
    const QString mark = found ? cell(markColumn, row) : QString();
    LabCfm->setText(mark.isEmpty() ? QStringLiteral("NO") : mark);
}

void TFDX_Cluster::StringGrid1Click()
{
    // Only the spot rows: the title row and the empty last row hold no spot.
    const int r = StringGrid1->currentRow();
    if (r < 1 || r > spotRows)
        return;
    LabFr->setText(SpotLines::bandKey(cell(2, r)));
    LabCal->setText(cell(1, r));
    showCountry(r);
    LabFreq->setText(cell(2, r));
}

void TFDX_Cluster::StringGrid1DblClick()
{
    StringGrid1Click();
    Button6->click();
}

void TFDX_Cluster::Button5Click()
{
    Form3->takeSpot(LabFr->text(), LabCal->text(), LabFreq->text());
}
