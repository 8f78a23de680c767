#include "platform/ui/Notice.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Guard.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace Ui {

Notice::Notice(const QString &objectName, const QString &caption, QWidget *parent)
    : Window(objectName, caption, parent)
{
    auto *body = new QWidget(this);
    setCentralWidget(body);
    auto *layout = new QVBoxLayout(body);
    text_ = label(QString(), body, "NoticeText");
    text_->setWordWrap(true);
    // Wide enough that a file's path and what befell it read as a sentence.
    text_->setMinimumWidth(text_->fontMetrics().averageCharWidth() * 50);
    layout->addWidget(text_);
    auto *ok = new QPushButton(QStringLiteral("OK"), body);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    connectGuarded(ok, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void Notice::report(const QString &text)
{
    text_->setText(text);
    showWindow();
}

} // namespace Ui
