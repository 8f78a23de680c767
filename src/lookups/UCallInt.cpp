#include "lookups/UCallInt.h"

#include "lookups/CallbookPage.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/web/PageLoader.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TQRZ *QRZ = nullptr;

namespace {

constexpr int fetchTimeoutMs = 30000;
const char *const defaultCallbookUrl = "https://www.qrz.com/db/%1";

} // namespace

TQRZ::TQRZ() : Ui::Window(QStringLiteral("QRZ"), QStringLiteral("QRZ.com"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto *row = new QHBoxLayout;
    Edit1 = new QLineEdit(central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setValidator(new Ui::UpperCaseValidator(Edit1));
    Button5 = new QPushButton(QStringLiteral("Find in QRZ"), central);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button1 = new QPushButton(central);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->hide();
    ProgressBar1 = new QProgressBar(central);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    row->addWidget(Edit1);
    row->addWidget(Button5);
    row->addWidget(ProgressBar1);
    layout->addLayout(row);
    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    layout->addWidget(Memo1, 1);
    WebBrowser1 = new Web::PageLoader(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setTimeout(fetchTimeoutMs);

    Ui::connectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::downloadBegin, this, [this] { WebBrowser1DownloadBegin(); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::loaded, this,
                       [this](const Web::Document &page) { WebBrowser1DocumentComplete(&page); });
    Ui::connectGuarded(WebBrowser1, &Web::PageLoader::failed, this, [this] { WebBrowser1DocumentComplete(nullptr); });
}

TQRZ::~TQRZ() = default;

QString TQRZ::callbookUrl()
{
    return Web::urlFromEnvironment("TARNEL_CALLBOOK_URL", QString::fromLatin1(defaultCallbookUrl));
}

void TQRZ::Button5Click()
{
    ProgressBar1->setValue(5);
    Memo1->clear();
    // Only the page last asked for arrives: the loader drops an earlier one.
    requested_ = Edit1->text();
    WebBrowser1->load(QUrl(CallbookPage::url(callbookUrl(), requested_)));
    ProgressBar1->setValue(15);
}

void TQRZ::WebBrowser1DownloadBegin()
{
    ProgressBar1->setValue(30);
}

void TQRZ::WebBrowser1DocumentComplete(const Web::Document *page)
{
    ProgressBar1->setValue(55);
    Memo1->clear();
    page_ = page ? std::make_unique<Web::Document>(*page) : nullptr;
    Button1->click();
}

void TQRZ::Button1Click()
{
    ProgressBar1->setValue(60);
    Memo1->clear();
    const std::unique_ptr<Web::Document> page = std::move(page_);
    QStringList lines;
    if (page) {
        lines = CallbookPage::elementLines(*page);
        if (!lines.isEmpty())
            ProgressBar1->setValue(80);
    } else {
        Ui::showWarning(QStringLiteral("No access to Internet! "));
    }
    // The memo names the callsign asked for, not the one typed since.
    Memo1->setPlainText(CallbookPage::memo(requested_, lines).join(u'\n'));
    ProgressBar1->setValue(100);
}
