// The program's one window.
//
// The window owns one FieldPanel, the plain state the conversions work on. Each handler first
// copies what the screen shows (texts, enabled flags, the chosen direction) into the panel,
// works on the panel only, and then shows the panel again, so the screen and the panel never
// disagree. The controls are addressed as arrays by index, the way the handlers switch on the
// index of the control that fired. For screen readers the text fields use the interface of
// form/line_edit_accessible.h, and new results are announced through form/announcement.h.
#pragma once

#include "core/field_panel.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace Ui {
class Pelmora;
}

namespace pelmora {
class Announcement;
}

class Pelmora : public QWidget
{
    Q_OBJECT

public:
    explicit Pelmora(QWidget *parent = nullptr);
    ~Pelmora() override;

private:
    void Form_Load();
    void Option1_Click(int index);
    void Command1_Click(int index);
    void ClearFields();
    // Text2's index of the field the user types into in the chosen direction.
    int inputField() const;

    void readFields();
    void showFields();
    void showOverflowMessage();
    void showPictureForPixelDensity();
    QString resultsSummary() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::Pelmora> m_ui;
    pelmora::FieldPanel m_panel;

    std::array<QLineEdit *, pelmora::fieldCount> Text2;
    std::array<QRadioButton *, 2> Option1;
    std::array<QPushButton *, 2> Command1;
    std::array<QLabel *, 6> Label1;
    std::array<QPlainTextEdit *, 2> Text1;
    pelmora::Announcement *m_announcement;
};
