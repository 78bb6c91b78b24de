#pragma once

#include "editor/skin/CZelRangeControl.h"

#include <QBasicTimer>

class CZelRangeControlPrivate
{
public:
    virtual ~CZelRangeControlPrivate() = default;

    int bound(qint64 value) const { return int(std::clamp<qint64>(value, minimum, maximum)); }
    float normalized(int value) const;
    int actionValue(int action) const;

    CZelRangeControl *q = nullptr;
    Qt::Orientation orientation = Qt::Horizontal;
    bool invertedAppearance = false;
    bool invertedControls = false;
    int minimum = 0;
    int maximum = 99;
    int value = 0;
    int singleStep = 1;
    int pageStep = 10;
    int thirdStep = 1;
    int fourthStep = 1;
    bool tracking = true;
    bool wrapping = false;
    bool sliderDown = false;
    const CZelValueSpec *spec = nullptr;
    float lastSpecValue = -0.00001f;
    int signalMask = 7;
    int repeatAction = 0;
    int repeatTime = 0;
    int repeatDelay = -1;
    QBasicTimer repeatTimer;
    qint64 wheelAccumulator = 0; // in 1/120 of a value step
};
