#pragma once
// DX spot window: loads the page of recent spots, cuts its lines into a grid
// with the worked/confirmed mark of each DX's country on the spot's band, and
// hands the chosen spot over to the main window.

#include "platform/ui/Window.h"

#include <QString>
#include <memory>

class PrefixCache;

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
namespace Web {
class Document;
class PageLoader;
}

class TFDX_Cluster : public Ui::Window {
    Q_OBJECT
public:
    TFDX_Cluster();
    ~TFDX_Cluster() override;

    static constexpr int spotRows = 250;

    QPlainTextEdit *Memo1; // hidden: the page text
    QTableWidget *StringGrid1;
    QPushButton *Button2, *Button3;                   // "DX Cluster", "Close"
    QPushButton *Button1, *Button4, *Button5, *Button6; // hidden
    QProgressBar *ProgressBar1;
    QGroupBox *GroupBox1, *GroupBox2;
    QLabel *LabCal, *LabFr, *Label1, *LabFreq, *Label3;
    QLabel *LabelPref, *LabelCount, *Label_ZCQ, *Label_ZITU, *LabelCont, *LabCfm;
    Web::PageLoader *WebBrowser1;

    // The spot page: TARNEL_SPOT_URL, or the public default.
    static QString spotUrl();

    void FormCreate() override;
    void Button2Click();
    void WebBrowser1DownloadBegin();
    void WebBrowser1DownloadComplete(const Web::Document *page);
    void Button1Click();
    void Button4Click();
    void Button6Click();
    void Button3Click() { closeWindow(); }
    void Button5Click();
    void StringGrid1Click();
    void StringGrid1DblClick();

    QString cell(int column, int row) const;

private:
    struct Cursors;
    void setCell(int column, int row, const QString &text);
    void parse(bool withMarks);
    void showWholeColumns();
    static void writeWorkingFile(const QString &path, const QByteArray &bytes);
    // The DX's country row, on the window's own cursors (the main window's
    // prefix cursor keeps the country of the contact being entered).
    // `cache`, when given, serves a whole page: each leading part is looked
    // up once. It is made at the first call that needs it.
    bool resolve(const QString &dx, std::unique_ptr<PrefixCache> *cache = nullptr);
    QString mark(const QString &band);
    void showCountry(int row);
    QString filePath(const char *name) const;

    std::unique_ptr<Cursors> cursors_;
    std::unique_ptr<Web::Document> page_; // the page just loaded, until it is read
};

extern TFDX_Cluster *FDX_Cluster;
