// The program's one window.
//
// The window owns one FieldPanel, the plain state the conversions work on. Each handler first
// copies what the screen shows (texts, enabled flags, the chosen direction) into the panel,
// works on the panel only, and then shows the panel again, so the screen and the panel never
// disagree. The controls are addressed as arrays by index, the way the handlers switch on the
// index of the control that fired. New results are announced to screen readers through
// widgets/announcer.h.
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

namespace widgets {
class Announcer;
}

class Pelmora : public QWidget
{
    Q_OBJECT

public:
    explicit Pelmora(QWidget *parent = nullptr);
    ~Pelmora() override;

private:
    // The steps of making the window, in their order.
    void centreOnScreen();
    void fixColoursAndStyle();
    void fillTexts();
    void prepareFields();
    void connectControls();

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

    // The title, then a caption for each field.
    static constexpr int labelCount = 1 + pelmora::fieldCount;
    // The explanation and the quotation.
    static constexpr int textCount = 2;

    std::array<QLineEdit *, pelmora::fieldCount> Text2;
    std::array<QRadioButton *, pelmora::optionCount> Option1;
    std::array<QPushButton *, pelmora::commandCount> Command1;
    std::array<QLabel *, labelCount> Label1;
    std::array<QPlainTextEdit *, textCount> Text1;
    widgets::Announcer *m_announcer;
};
