#include "fonts.h"

#include <QStringList>

void RegisterFontSubstitutions()
{
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    const QStringList wide = {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), wide);
    QFont::insertSubstitutions(QStringLiteral("Verdana"), wide);
}

int PointsToPixels(int points)
{
    // MulDiv(points, 96, 72): rounds halves away from zero.
    return (points * 96 + 36) / 72;
}

QFont DesignFont(const QString &family, int points, bool bold)
{
    QFont font(family);
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
}
