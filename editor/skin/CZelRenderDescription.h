#pragma once

#include "editor/skin/CZelDatabase.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;
class QPixmap;
class CZelGrid;
class CZelNode;
class CZelSkinEngine;
class CZelRenderDescriptionPrivate;

// The state flags a control is painted in.
struct CZelRenderState {
    bool normal = true;
    bool pressed = false;
    bool disabled = false;
    bool on = false;
    bool mid = false;
};

// How one control is painted: which bitmap (or cell of a composite bitmap)
// belongs to which state, and the control's natural size. Built from a node
// of the nodes file.
class CZelRenderDescription
{
public:
    enum ButtonType { Button_Command = 0, Button_Toggle = 1, Button_Tristate = 2 };
    enum FocusStyle {
        Focus_None = 0,
        Focus_Border = 1,
        Focus_BorderShade = 2,
        Focus_BorderAnimated = 3,
        Focus_Hover = 4
    };
    enum RenderStyle { Render_None = 0, Render_Vector = 1, Render_Tiled = 2, Render_Fixed = 3, Render_Composite = 4 };
    enum VectorType { Vector_Type1 = 0, Vector_Type2 = 1, Vector_Type3 = 2, Vector_Type4 = 3 };
    enum TiledType { Tiled_Horizontal = 1, Tiled_Vertical = 2, Tiled_Both = 3 };
    enum CompositeType { Composite_Cells = 0, Composite_Continuous = 1 };
    // State indices: the bits of available() and the positions of order().
    enum State {
        Active = 0,
        Pressed,
        Disabled,
        ActiveOn,
        PressedOn,
        DisabledOn,
        ActiveMid,
        PressedMid,
        DisabledMid,
        StateCount
    };
    enum Part {
        Part_Fixed = 0,
        Part_CapLeftOrTop,
        Part_CapRightOrBottom,
        Part_HOrVStretch,
        Part_TopLeft,
        Part_TopRight,
        Part_BottomLeft,
        Part_BottomRight,
        Part_LeftStretch,
        Part_TopStretch,
        Part_RightStretch,
        Part_BottomStretch,
        Part_CenterArea,
        PartCount
    };

    // engine supplies the bitmaps; it may be null for a description that is
    // only inspected.
    explicit CZelRenderDescription(const CZelNode &node, const CZelSkinEngine *engine = nullptr);
    virtual ~CZelRenderDescription();
    CZelRenderDescription(const CZelRenderDescription &) = delete;
    CZelRenderDescription &operator=(const CZelRenderDescription &) = delete;

    bool isValid() const;
    int buttonType() const;
    int focusStyle() const;
    int renderStyle() const;
    int vectorType() const;
    int tiledType() const;
    int compositeType() const;
    int available() const;
    const CZelDatabase<QString, QString> &images() const;
    const CZelGrid &grid() const;
    const QList<int> &order() const;

    // The image name and key of a state and part; empty when there is none.
    QString imageName(const CZelRenderState &state, int part) const;
    QString imageKey(const CZelRenderState &state, int part) const;
    // The composite state index, and the cell of the composite bitmap.
    int stateIndex(const CZelRenderState &state) const;
    QRect compositeCell(const QPixmap &composite, const CZelRenderState &state, double position) const;

    // Width and height; -1 where the description does not fix one.
    QSize naturalSize() const;
    void paint(QPainter *painter, const QRect &target, double position, const CZelRenderState &state) const;

    static QString stateName(int state);
    static QString partSuffix(int part);

private:
    std::unique_ptr<CZelRenderDescriptionPrivate> d;
};
