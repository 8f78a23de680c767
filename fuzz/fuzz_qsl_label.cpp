// "QSL_Lab.tnr" and "QSL_F.tnr": the same bytes read as the label template,
// filled from one contact and written back, and as the font file.

#include "FuzzInput.h"
#include "utilities/QslLabel.h"

#include <QGuiApplication>

// Fonts want an application.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    const QStringList lines = QslLabel::lines(text);
    QslLabel::Contact contact;
    contact.call = QStringLiteral("QA1ZZ");
    contact.notepad = text.left(200);
    contact.date = QStringLiteral("05.11.2003");
    contact.time = QStringLiteral("14:32:00");
    contact.band = QStringLiteral("14");
    contact.mode = QStringLiteral("CW");
    contact.txRst = QStringLiteral("599");
    contact.rxQsl = QStringLiteral("Yes");
    QslLabel::compose(QslLabel::fill(lines, contact).lines);
    const QslLabel::FontReading reading = QslLabel::parseFont(text, QslLabel::defaultFont());
    QslLabel::composeFont(reading.font);
    QslLabel::styleLetters(reading.font);
    return 0;
}
