#pragma once

#include <QWidget>

namespace Oxa {

class Packager;

// The first page: the display picture beside the read-me, Cancel and Continue.
class IntroPage : public QWidget
{
    Q_OBJECT

public:
    explicit IntroPage(const Packager &packager, QWidget *parent = nullptr);

signals:
    void cancel();
    void next();
};

} // namespace Oxa
