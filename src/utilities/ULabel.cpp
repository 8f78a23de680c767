#include "utilities/ULabel.h"

#include "core/SettingsFile.h"
#include "core/Unit3.h"
#include "utilities/QslLabel.h"

#include <QDir>
#include <QFileInfo>
#include <QMenuBar>

TFlabel *Flabel = nullptr;

namespace {
QString labelPath(const char *name)
{
    return QDir(Form3->EditDir->text()).filePath(QString::fromLatin1(name));
}
} // namespace

QStringList memoLines(const QPlainTextEdit *memo)
{
    const QString text = memo->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void setMemoLines(QPlainTextEdit *memo, const QStringList &lines)
{
    memo->setPlainText(lines.join(u'\n'));
}

void loadLabelFiles(QPlainTextEdit *memo)
{
    const QString fontPath = labelPath(QslLabel::fontFileName);
    if (QFileInfo::exists(fontPath)) {
        const QslLabel::FontReading reading = QslLabel::parseFont(SettingsFile::readFile(fontPath), memo->font());
        memo->setFont(reading.font);
        if (!reading.problem.isEmpty())
            Ui::showError(reading.problem);
    }
    const QString templatePath = labelPath(QslLabel::templateFileName);
    if (QFileInfo::exists(templatePath))
        setMemoLines(memo, QslLabel::lines(SettingsFile::readFile(templatePath)));
}

TFlabel::TFlabel() : Ui::Window(QStringLiteral("Flabel"), QStringLiteral("QSL label"))
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFont(QslLabel::defaultFont());
    setMemoLines(Memo1, QslLabel::defaultTemplate());
    setCentralWidget(Memo1);
    resize(700, 360);

    QMenu *options = menuBar()->addMenu(QStringLiteral("Options"));
    Font1 = new Ui::MenuItem(QStringLiteral("Font1"), QStringLiteral("Font"), this);
    Font1->setHandler([this] { Font1Click(); });
    options->addAction(Font1);
}

void TFlabel::FormCreate()
{
    templateRead_ = false;
    loadLabelFiles(Memo1); // raises when a file cannot be read
    templateRead_ = true;
}

void TFlabel::Font1Click()
{
    FontDialog1.font = Memo1->font();
    if (FontDialog1.execute())
        Memo1->setFont(FontDialog1.font);
}

void TFlabel::FormClose()
{
    // A template that could not be read stays the operator's, never replaced
    // by the default shown instead.
    if (templateRead_)
        SettingsFile::writeFile(labelPath(QslLabel::templateFileName), QslLabel::compose(memoLines(Memo1)));
    SettingsFile::writeFile(labelPath(QslLabel::fontFileName), QslLabel::composeFont(Memo1->font()));
}
