#include "editor/app/EditorFonts.h"

namespace EditorFonts {

void installSubstitutions()
{
    QFont::insertSubstitution(QLatin1String(EditorFamily), QStringLiteral("DejaVu Sans Mono"));
    QFont::insertSubstitution(QLatin1String(TitleFamily), QStringLiteral("DejaVu Sans"));
}

QFont editorFont(int pointSize)
{
    QFont font(QLatin1String(EditorFamily), pointSize);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace EditorFonts
