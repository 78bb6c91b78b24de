#include "editor/skin/CZelSkinMessages.h"

#include <QMessageBox>

namespace CZelSkinMessages {
namespace {
Sink &currentSink()
{
    static Sink sink;
    return sink;
}
} // namespace

Sink setSink(Sink sink)
{
    Sink old = std::move(currentSink());
    currentSink() = std::move(sink);
    return old;
}

void show(Kind kind, const QString &title, const QString &text)
{
    if (currentSink()) {
        currentSink()(kind, title, text);
        return;
    }
    if (kind == Kind::Information)
        QMessageBox::information(nullptr, title, text);
    else
        QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
}

} // namespace CZelSkinMessages
