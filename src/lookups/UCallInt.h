#pragma once
// Web callbook look-up: the station data of the callsign being entered, as
// the callbook's page shows it. Display only.

#include "platform/ui/Window.h"

#include <QLineEdit>
#include <memory>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
namespace Web {
class Document;
class PageLoader;
}

class TQRZ : public Ui::Window {
    Q_OBJECT
public:
    TQRZ();
    ~TQRZ() override;

    QLineEdit *Edit1; // the callsign being entered in the main window
    QPushButton *Button5; // "Find in QRZ"
    QPushButton *Button1; // hidden: the extraction
    QPlainTextEdit *Memo1;
    QProgressBar *ProgressBar1;
    Web::PageLoader *WebBrowser1;

    // The callbook's page pattern: TARNEL_CALLBOOK_URL, or the public default.
    static QString callbookUrl();

    void Button5Click();
    void WebBrowser1DownloadBegin();
    void WebBrowser1DocumentComplete(const Web::Document *page);
    void Button1Click();

private:
    QString requested_; // the callsign of the page on its way
    std::unique_ptr<Web::Document> page_;
};

extern TQRZ *QRZ;
