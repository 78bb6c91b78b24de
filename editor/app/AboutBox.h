#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class AboutBox;
}

namespace Win32 {

// The program's and the connected controller's identification, on the about
// background. "-" stands for every device value that is not known.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
    ~AboutBox() override;

    // Program file name, program file version, driver file name, driver file
    // version, firmware version, device ID.
    const QStringList &identification() const { return m_identification; }

    static QStringList collectIdentification();

private:
    std::unique_ptr<Ui::AboutBox> m_ui;
    QStringList m_identification;
};

} // namespace Win32
