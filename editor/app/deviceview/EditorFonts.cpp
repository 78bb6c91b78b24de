#include "editor/app/deviceview/EditorFonts.h"

namespace EditorFonts {

void installSubstitutions()
{
    QFont::insertSubstitution(QLatin1String(Family), QStringLiteral("DejaVu Sans Mono"));
    QFont::insertSubstitution(QLatin1String(TitleFamily), QStringLiteral("DejaVu Sans"));
}

} // namespace EditorFonts
