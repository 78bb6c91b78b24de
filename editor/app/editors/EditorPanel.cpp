#include "editor/app/editors/EditorPanel.h"

#include "editor/app/editors/EditorSkin.h"

#include <QWidget>

namespace EditorPanel {

QPixmap setBackground(QWidget *view, const QString &image)
{
    const QPixmap background = EditorSkin::image(image);
    QPalette palette = view->palette();
    palette.setBrush(view->backgroundRole(), background);
    view->setPalette(palette);
    view->setAutoFillBackground(true);
    view->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return background;
}

} // namespace EditorPanel
