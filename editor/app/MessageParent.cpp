#include "editor/app/MessageParent.h"

#include <QPointer>
#include <QWidget>

namespace MessageParent {

namespace {
QPointer<QWidget> &window()
{
    static QPointer<QWidget> pointer;
    return pointer;
}
} // namespace

QWidget *get() { return window().data(); }
void set(QWidget *w) { window() = w; }
QWidget *orMain(QWidget *parent) { return parent ? parent : get(); }

} // namespace MessageParent
