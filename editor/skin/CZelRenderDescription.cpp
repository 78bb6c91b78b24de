#include "editor/skin/CZelRenderDescription.h"

#include "editor/skin/CZelGrid.h"
#include "editor/skin/CZelNode.h"
#include "editor/skin/CZelPaintUtilities.h"
#include "editor/skin/CZelSkinEngine.h"

#include <QPainter>
#include <QPixmap>
#include <QSet>

#include <array>
#include <utility>

namespace {

using Table = std::initializer_list<std::pair<const char *, int>>;

// A property value looked up in a table; fallback for anything else.
int parseWord(const QString &value, Table table, int fallback)
{
    for (const auto &[word, number] : table) {
        if (value == QLatin1String(word))
            return number;
    }
    return fallback;
}

constexpr std::array<const char *, CZelRenderDescription::StateCount> StateNames = {
    "active",      "pressed",    "disabled",    "active_on",   "pressed_on",
    "disabled_on", "active_mid", "pressed_mid", "disabled_mid"};

constexpr std::array<const char *, CZelRenderDescription::PartCount> PartSuffixes = {"",
                                                                                     "_capLeftOrTop",
                                                                                     "_capRightOrBottom",
                                                                                     "_hOrVStretch",
                                                                                     "_topLeft",
                                                                                     "_topRight",
                                                                                     "_bottomLeft",
                                                                                     "_bottomRight",
                                                                                     "_leftStretch",
                                                                                     "_topStretch",
                                                                                     "_rightStretch",
                                                                                     "_bottomStretch",
                                                                                     "_centerArea"};

constexpr int StatesOfType[] = {3, 6, 9}; // command, toggle, tristate

const QString CompositeName = QStringLiteral("composite");
const QString CompositeOrderName = QStringLiteral("compositeOrder");

} // namespace

class CZelRenderDescriptionPrivate
{
public:
    bool valid = false;
    int buttonType = CZelRenderDescription::Button_Command;
    int focusStyle = CZelRenderDescription::Focus_None;
    int renderStyle = CZelRenderDescription::Render_None;
    int vectorType = CZelRenderDescription::Vector_Type1;
    int tiledType = CZelRenderDescription::Tiled_Horizontal;
    int compositeType = CZelRenderDescription::Composite_Cells;
    int available = 0;
    CZelDatabase<QString, QString> images;
    CZelGrid grid;
    QList<int> order;
    const CZelSkinEngine *engine = nullptr;

    void parseDescriptive(const CZelDatabase<QString, QString> &properties);
    void keepImageNames(const CZelDatabase<QString, QString> &properties);
    bool hasAll(int state, int firstPart, int lastPart) const;
    void computeAvailable();
    void parseFilmStrip(const QString &value);
    void parseCellTable(const QString &value);
    bool validate() const;
    QPixmap pixmap(const QString &key) const { return engine ? engine->pixmap(key) : QPixmap(); }
};

void CZelRenderDescriptionPrivate::parseDescriptive(const CZelDatabase<QString, QString> &p)
{
    using D = CZelRenderDescription;
    buttonType =
        parseWord(p.value(QStringLiteral("ButtonType")),
                  {{"Button_Tristate", D::Button_Tristate}, {"Button_Toggle", D::Button_Toggle}}, D::Button_Command);
    focusStyle = parseWord(p.value(QStringLiteral("FocusStyle")),
                           {{"Focus_Hover", D::Focus_Hover},
                            {"Focus_BorderAnimated", D::Focus_BorderAnimated},
                            {"Focus_BorderShade", D::Focus_BorderShade},
                            {"Focus_Border", D::Focus_Border}},
                           D::Focus_None);
    renderStyle = parseWord(p.value(QStringLiteral("RenderStyle")),
                            {{"Render_Composite", D::Render_Composite},
                             {"Render_Fixed", D::Render_Fixed},
                             {"Render_Tiled", D::Render_Tiled},
                             {"Render_Vector", D::Render_Vector}},
                            D::Render_None);
    vectorType = parseWord(
        p.value(QStringLiteral("VectorType")),
        {{"Vector_Type4", D::Vector_Type4}, {"Vector_Type3", D::Vector_Type3}, {"Vector_Type2", D::Vector_Type2}},
        D::Vector_Type1);
    tiledType = parseWord(p.value(QStringLiteral("TiledType")),
                          {{"Tiled_Both", D::Tiled_Both}, {"Tiled_Vertical", D::Tiled_Vertical}}, D::Tiled_Horizontal);
    compositeType = parseWord(p.value(QStringLiteral("CompositeType")),
                              {{"Composite_Continuous", D::Composite_Continuous}}, D::Composite_Cells);
}

void CZelRenderDescriptionPrivate::keepImageNames(const CZelDatabase<QString, QString> &properties)
{
    QSet<QString> allowed = {CompositeName, CompositeOrderName};
    for (int state = 0; state < StatesOfType[buttonType]; ++state) {
        for (int part = 0; part < CZelRenderDescription::Part_CenterArea; ++part)
            allowed.insert(QLatin1String(StateNames[state]) + QLatin1String(PartSuffixes[part]));
    }
    for (auto it = properties.table().cbegin(); it != properties.table().cend(); ++it) {
        if (allowed.contains(it.key()))
            images.insert(it.key(), it.value());
    }
}

bool CZelRenderDescriptionPrivate::hasAll(int state, int firstPart, int lastPart) const
{
    for (int part = firstPart; part <= lastPart; ++part) {
        if (images.value(QLatin1String(StateNames[state]) + QLatin1String(PartSuffixes[part])).isEmpty())
            return false;
    }
    return true;
}

void CZelRenderDescriptionPrivate::computeAvailable()
{
    using D = CZelRenderDescription;
    available = 0;
    if (renderStyle == D::Render_Composite) {
        if (images.contains(CompositeName) && images.contains(CompositeOrderName)) {
            const QString value = images.value(CompositeOrderName);
            if (value.contains(QLatin1Char(';')))
                parseFilmStrip(value);
            else
                parseCellTable(value);
        }
        return;
    }
    int first = 0;
    int last = -1;
    if (renderStyle == D::Render_Fixed) {
        first = last = D::Part_Fixed;
    } else if (renderStyle == D::Render_Tiled) {
        const bool nine = tiledType == D::Tiled_Both;
        first = nine ? D::Part_TopLeft : D::Part_CapLeftOrTop;
        last = nine ? D::Part_BottomStretch : D::Part_HOrVStretch;
    }
    if (last < first)
        return;
    for (int state = 0; state < D::StateCount; ++state) {
        if (hasAll(state, first, last))
            available |= 1 << state;
    }
}

void CZelRenderDescriptionPrivate::parseFilmStrip(const QString &value)
{
    compositeType = CZelRenderDescription::Composite_Continuous;
    const QStringList parts = value.simplified().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    bool ok = false;
    int frames = parts.isEmpty() ? 64 : parts[0].trimmed().toInt(&ok, 10);
    if (!ok)
        frames = 64;
    QSet<int> rows;
    if (parts.size() > 1) {
        for (const QString &item : parts[1].split(QLatin1Char(','), Qt::KeepEmptyParts)) {
            int row = item.trimmed().toInt(&ok, 10);
            // Row numbers name state bits 0..8; anything else counts as row 0.
            if (!ok || row > 8 || row < 0)
                row = 0;
            order.append(row);
            rows.insert(row);
            available |= 1 << row;
        }
    }
    grid.setOrientation(CZelGrid::RowMajor);
    grid.setRowsAndColumns(int(rows.size()), frames);
}

void CZelRenderDescriptionPrivate::parseCellTable(const QString &value)
{
    compositeType = CZelRenderDescription::Composite_Cells;
    const int states = StatesOfType[buttonType];
    available = (1 << states) - 1;
    grid.setOrientation(CZelGrid::RowMajor);
    grid.setRowsAndColumns(states / 3, 3);
    const QStringList items = value.simplified().split(QLatin1Char(','), Qt::SkipEmptyParts);
    int unparsable = 0;
    for (qsizetype i = 0; i < items.size() && i < grid.count(); ++i) {
        bool ok = false;
        int cell = items[i].trimmed().toInt(&ok, 10);
        if (!ok)
            cell = unparsable++;
        else if (cell > grid.count() - 1)
            cell = 0;
        order.append(cell);
    }
}

bool CZelRenderDescriptionPrivate::validate() const
{
    using D = CZelRenderDescription;
    switch (renderStyle) {
    case D::Render_None:
    case D::Render_Vector:
        return true;
    case D::Render_Tiled:
        return tiledType == D::Tiled_Both ? hasAll(D::Active, D::Part_TopLeft, D::Part_BottomStretch)
                                          : hasAll(D::Active, D::Part_CapLeftOrTop, D::Part_HOrVStretch);
    case D::Render_Fixed:
        return hasAll(D::Active, D::Part_Fixed, D::Part_Fixed);
    case D::Render_Composite:
        return images.contains(CompositeName) && images.contains(CompositeOrderName);
    default:
        return false;
    }
}

CZelRenderDescription::CZelRenderDescription(const CZelNode &node, const CZelSkinEngine *engine)
    : d(std::make_unique<CZelRenderDescriptionPrivate>())
{
    d->engine = engine;
    const CZelDatabase<QString, QString> properties = node.properties(QStringLiteral("property"));
    if (properties.count() == 0)
        return;
    d->parseDescriptive(properties);
    d->keepImageNames(properties);
    d->computeAvailable();
    d->valid = d->validate();
}

CZelRenderDescription::~CZelRenderDescription() = default;

bool CZelRenderDescription::isValid() const { return d->valid; }
int CZelRenderDescription::buttonType() const { return d->buttonType; }
int CZelRenderDescription::focusStyle() const { return d->focusStyle; }
int CZelRenderDescription::renderStyle() const { return d->renderStyle; }
int CZelRenderDescription::vectorType() const { return d->vectorType; }
int CZelRenderDescription::tiledType() const { return d->tiledType; }
int CZelRenderDescription::compositeType() const { return d->compositeType; }
int CZelRenderDescription::available() const { return d->available; }
const CZelDatabase<QString, QString> &CZelRenderDescription::images() const { return d->images; }
const CZelGrid &CZelRenderDescription::grid() const { return d->grid; }
const QList<int> &CZelRenderDescription::order() const { return d->order; }

QString CZelRenderDescription::stateName(int state)
{
    return state >= 0 && state < StateCount ? QLatin1String(StateNames[state]) : QString();
}

QString CZelRenderDescription::partSuffix(int part)
{
    return part >= 0 && part < PartCount ? QLatin1String(PartSuffixes[part]) : QString();
}

QString CZelRenderDescription::imageName(const CZelRenderState &state, int part) const
{
    if (d->renderStyle == Render_Composite)
        return CompositeName;
    if (d->renderStyle == Render_Fixed)
        part = Part_Fixed;
    else if (d->renderStyle != Render_Tiled || part == Part_Fixed)
        return {};
    const auto has = [this](int bit) { return (d->available >> bit) & 1; };
    int index = Active;
    if (state.disabled && has(Disabled))
        index = Disabled;
    else if (state.pressed && has(Pressed))
        index = Pressed;
    if (state.on && (has(ActiveOn) || has(PressedOn) || has(DisabledOn)))
        index += ActiveOn;
    else if (state.mid && (has(ActiveMid) || has(PressedMid) || has(DisabledMid)))
        index += ActiveMid;
    return stateName(index) + partSuffix(part);
}

QString CZelRenderDescription::imageKey(const CZelRenderState &state, int part) const
{
    const QString name = imageName(state, part);
    if (name.isEmpty())
        return {};
    const QString key = d->images.value(name);
    if (!key.isEmpty() || d->renderStyle == Render_Composite)
        return key;
    return d->images.value(stateName(Active) + (d->renderStyle == Render_Fixed ? QString() : partSuffix(part)));
}

int CZelRenderDescription::stateIndex(const CZelRenderState &state) const
{
    const auto has = [this](int bit) { return (d->available >> bit) & 1; };
    // The first state whose flag is set and whose cell exists, per variant.
    const auto pick = [&](int base) {
        if (state.disabled && has(base + 2))
            return base + 2;
        if (state.pressed && has(base + 1))
            return base + 1;
        if (base != Active && state.normal && has(base))
            return base;
        return int(Active);
    };
    if (state.on)
        return pick(ActiveOn);
    if (state.mid)
        return pick(ActiveMid);
    return pick(Active);
}

QRect CZelRenderDescription::compositeCell(const QPixmap &composite, const CZelRenderState &state,
                                           double position) const
{
    if (d->renderStyle != Render_Composite || d->order.isEmpty() || composite.width() == 0 || composite.height() == 0)
        return {};
    const int index = stateIndex(state);
    const int entry = index < d->order.size() ? d->order[index] : d->order.first();
    CZelGrid grid(d->grid);
    grid.setSize(composite.width(), composite.height());
    if (d->compositeType == Composite_Continuous)
        return grid.frame(entry, position);
    return grid.cell(entry);
}

QSize CZelRenderDescription::naturalSize() const
{
    const CZelRenderState normal;
    switch (d->renderStyle) {
    case Render_Tiled: {
        if (d->tiledType == Tiled_Both)
            break;
        const QPixmap cap = d->pixmap(d->images.value(QStringLiteral("active_capLeftOrTop")));
        if (cap.isNull())
            break;
        return d->tiledType == Tiled_Vertical ? QSize(cap.width(), -1) : QSize(-1, cap.height());
    }
    case Render_Fixed: {
        const QPixmap active = d->pixmap(d->images.value(QStringLiteral("active")));
        if (!active.isNull())
            return active.size();
        break;
    }
    case Render_Composite: {
        const QRect cell = compositeCell(d->pixmap(d->images.value(CompositeName)), normal, 0.0);
        if (!cell.isNull())
            return cell.size();
        break;
    }
    default:
        break;
    }
    return QSize(-1, -1);
}

void CZelRenderDescription::paint(QPainter *painter, const QRect &target, double position,
                                  const CZelRenderState &state) const
{
    if (!painter || !target.isValid())
        return;
    painter->save();
    const auto part = [&](int p) { return d->pixmap(imageKey(state, p)); };
    switch (d->renderStyle) {
    case Render_Fixed: {
        const QPixmap image = part(Part_Fixed);
        if (!image.isNull())
            painter->drawPixmap(target.topLeft(), image);
        break;
    }
    case Render_Composite: {
        const QPixmap composite = part(Part_Fixed);
        const QRect cell = compositeCell(composite, state, position);
        if (!cell.isNull())
            painter->drawPixmap(target.topLeft(), composite, cell);
        break;
    }
    case Render_Tiled:
        if (d->tiledType == Tiled_Both) {
            std::array<QPixmap, 8> pieces;
            for (int i = 0; i < 8; ++i)
                pieces[i] = part(Part_TopLeft + i);
            CZelPaintUtilities::drawNinePiece(painter, target, pieces);
        } else {
            CZelPaintUtilities::drawThreePiece(painter, target, part(Part_CapLeftOrTop), part(Part_CapRightOrBottom),
                                               part(Part_HOrVStretch),
                                               d->tiledType == Tiled_Vertical ? Qt::Vertical : Qt::Horizontal);
        }
        break;
    default:
        break;
    }
    painter->restore();
}
