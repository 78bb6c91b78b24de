#include "updater/wizard/IntroPage.h"

#include "updater/engine/Packager.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>
#include <QVBoxLayout>

namespace Oxa {

namespace {

// The read-me as text (UTF-8); empty when it cannot be opened.
QString readText(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QTextStream(&file).readAll();
}

} // namespace

IntroPage::IntroPage(const Packager &packager, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *content = new QHBoxLayout;
    const QPixmap picture(packager.displayImage());
    if (!picture.isNull()) {
        auto *image = new QLabel(this);
        image->setObjectName(QStringLiteral("Display Image"));
        image->setPixmap(picture);
        image->setAlignment(Qt::AlignTop);
        content->addWidget(image);
    }
    auto *readme = new QPlainTextEdit(this);
    readme->setObjectName(QStringLiteral("Readme"));
    readme->setReadOnly(true);
    readme->setMinimumWidth(500);
    readme->setPlainText(readText(packager.readme()));
    content->addWidget(readme);
    layout->addLayout(content);
    layout->addSpacing(5);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Cancel Button"));
    auto *continueButton = new QPushButton(tr("Continue"), this);
    continueButton->setObjectName(QStringLiteral("Continue Button"));
    continueButton->setDefault(true);
    buttons->addWidget(cancelButton);
    buttons->addWidget(continueButton);
    layout->addLayout(buttons);
    connect(cancelButton, &QPushButton::clicked, this, &IntroPage::cancel);
    connect(continueButton, &QPushButton::clicked, this, &IntroPage::next);
}

} // namespace Oxa
