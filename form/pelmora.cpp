#include "form/pelmora.h"

#include "about.h"
#include "core/conversions.h"
#include "form/palette.h"
#include "form/resources.h"
#include "ui_pelmora.h"
#include "widgets/announcer.h"
#include "widgets/enter_presses_button.h"
#include "widgets/long_text_painter.h"
#include "widgets/mark_style.h"

#include <QButtonGroup>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <limits>

Pelmora::Pelmora(QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::Pelmora>())
{
    // The resources are compiled into a static library, which the linker would otherwise drop.
    Q_INIT_RESOURCE(pelmora);
    m_ui->setupUi(this);
    Text2 = {m_ui->Text2_0, m_ui->Text2_1, m_ui->Text2_2, m_ui->Text2_3, m_ui->Text2_4};
    Option1 = {m_ui->Option1_0, m_ui->Option1_1};
    Command1 = {m_ui->Command1_0, m_ui->Command1_1};
    Label1 = {m_ui->Label1_0, m_ui->Label1_1, m_ui->Label1_2,
              m_ui->Label1_3, m_ui->Label1_4, m_ui->Label1_5};
    Text1 = {m_ui->Text1_0, m_ui->Text1_1};
    m_announcer = new widgets::Announcer(this);

    centreOnScreen();
    fixColoursAndStyle();
    showPictureForPixelDensity();
    fillTexts();
    prepareFields();
    connectControls();
    Form_Load();
}

// The window opens at its designed size in the middle of the screen: its inside, for the frame is
// not known before it is shown (on Windows, placing the frame's corner would put it a caption
// lower). It can be resized, maximised and made full screen like any other window; the layout is
// absolute, so the controls keep their places at the top left and the window's colour fills the
// rest. It sets no minimum size either: a Wayland compositor may give a maximised window less room
// than the designed size, and a window that cannot take the size its state gives it is
// disconnected by the compositor.
void Pelmora::centreOnScreen()
{
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));
}

// The design's own colours (the window's and the labels') stay; every other colour is fixed, and
// every control is drawn in the same style on every platform, with marks that show on those
// colours. The style belongs to the window, which deletes it after the controls. Message boxes
// and menus are windows of their own and follow the desktop.
void Pelmora::fixColoursAndStyle()
{
    setPalette(palette().resolve(pelmora::fixedPalette()));
    auto *markStyle = new widgets::MarkStyle;
    markStyle->setParent(this);
    for (QWidget *control : findChildren<QWidget *>())
        control->setStyle(markStyle);
}

// The title names the publisher before the design's caption; the explanation and the quotation
// come from the resources.
void Pelmora::fillTexts()
{
    setWindowTitle(QString::fromUtf8(pelmora::about::webAddress) + u' ' + windowTitle());
    Text1[0]->setPlainText(pelmora::textResource(QStringLiteral(":/text/explanation.txt")));
    Text1[1]->setPlainText(pelmora::textResource(QStringLiteral(":/text/quotation.txt")));
    Text1[0]->setFocus();
}

void Pelmora::prepareFields()
{
    for (int i = 0; i < pelmora::fieldCount; ++i) {
        // No length limit: a pasted text of any length is read as typed, and shown without
        // slowing the window down.
        Text2[i]->setMaxLength(std::numeric_limits<int>::max());
        new widgets::LongTextPainter(Text2[i]);
        // A screen reader announces each field by its label (Label1 1 to 5 caption Text2 0 to 4),
        // without the colon.
        QString caption = Label1[i + 1]->text();
        if (caption.endsWith(u':'))
            caption.chop(1);
        Text2[i]->setAccessibleName(caption);
    }
}

// Each control array is a button group whose ids are the indices, so a handler learns the index
// of the control that fired. The option handler runs once the button has become the chosen one,
// whether by mouse or keyboard; choosing the chosen direction changes nothing. Enter presses a
// focused button as Space does, since the window has no default button.
void Pelmora::connectControls()
{
    auto *options = new QButtonGroup(this);
    auto *commands = new QButtonGroup(this);
    commands->setExclusive(false);
    auto *enterPressesButton = new widgets::EnterPressesButton(this);
    for (int i = 0; i < pelmora::optionCount; ++i)
        options->addButton(Option1[i], i);
    for (int i = 0; i < pelmora::commandCount; ++i) {
        commands->addButton(Command1[i], i);
        Command1[i]->installEventFilter(enterPressesButton);
    }
    connect(options, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            Option1_Click(index);
    });
    connect(commands, &QButtonGroup::idClicked, this, &Pelmora::Command1_Click);
}

Pelmora::~Pelmora() = default;

void Pelmora::Form_Load()
{
    readFields();
    ClearFields();
    showFields();
}

void Pelmora::Option1_Click(int index)
{
    readFields();
    // The flags set here are set again by ClearFields from the chosen direction: the handler
    // first swaps the input field itself, then clears, as the design has it.
    switch (index) {
    case pelmora::decimalToGrayOption:
        m_panel.Text2[pelmora::decimalField].enabled = true;
        m_panel.Text2[pelmora::decimalGrayField].enabled = false;
        break;
    case pelmora::grayToDecimalOption:
        m_panel.Text2[pelmora::decimalGrayField].enabled = true;
        m_panel.Text2[pelmora::decimalField].enabled = false;
        break;
    default:
        break;
    }
    ClearFields();
    showFields();
}

void Pelmora::Command1_Click(int index)
{
    readFields();
    bool calculated = false;
    switch (index) {
    case pelmora::calculateCommand: {
        // The conversion works on a copy whose result fields are empty, which shows whether it
        // wrote results: it writes all of them or none. None for a number below 1, when the
        // earlier results stay, and none for a number out of range, which is reported.
        pelmora::FieldPanel attempt = m_panel;
        for (int i = 0; i < pelmora::fieldCount; ++i) {
            if (i != inputField())
                attempt.Text2[i].text.clear();
        }
        try {
            if (attempt.Option1[pelmora::decimalToGrayOption])
                pelmora::DecimalToGray(attempt);
            else
                pelmora::GrayToDecimal(attempt);
        } catch (const pelmora::OverflowError &) {
            showOverflowMessage();
            break;
        }
        // The binary form is a result in both directions and never empty once written.
        calculated = !attempt.Text2[pelmora::binaryField].text.empty();
        if (calculated)
            m_panel = attempt;
        else
            m_panel.CurrentNumber = attempt.CurrentNumber;
        break;
    }
    case pelmora::clearCommand:
        ClearFields();
        break;
    default:
        break;
    }
    showFields();
    // A screen reader says the results at once, while the focus stays on the button.
    if (calculated)
        m_announcer->announce(resultsSummary());
}

void Pelmora::ClearFields()
{
    for (auto &field : m_panel.Text2)
        field.text.clear();
    const bool decimalToGray = m_panel.Option1[pelmora::decimalToGrayOption];
    m_panel.Text2[pelmora::decimalField].enabled = decimalToGray;
    m_panel.Text2[pelmora::decimalGrayField].enabled = !decimalToGray;
}

int Pelmora::inputField() const
{
    return m_panel.Option1[pelmora::decimalToGrayOption] ? pelmora::decimalField
                                                         : pelmora::decimalGrayField;
}

void Pelmora::readFields()
{
    for (std::size_t i = 0; i < Text2.size(); ++i) {
        m_panel.Text2[i].text = Text2[i]->text().toStdString();
        m_panel.Text2[i].enabled = Text2[i]->isEnabled();
    }
    for (std::size_t i = 0; i < Option1.size(); ++i)
        m_panel.Option1[i] = Option1[i]->isChecked();
}

void Pelmora::showFields()
{
    for (std::size_t i = 0; i < Text2.size(); ++i) {
        const QString text = QString::fromStdString(m_panel.Text2[i].text);
        // Leave an unchanged field alone, so that its cursor and selection stay.
        if (Text2[i]->text() != text)
            Text2[i]->setText(text);
        Text2[i]->setEnabled(m_panel.Text2[i].enabled);
    }
}

void Pelmora::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Moved to a screen of another pixel density, the window shows the picture drawn for it.
    connect(windowHandle(), &QWindow::screenChanged, this, &Pelmora::showPictureForPixelDensity,
            Qt::UniqueConnection);
}

void Pelmora::showPictureForPixelDensity()
{
    // The designed picture is 100 x 100 pixels. Where the desktop scales the window up, a copy
    // drawn at 200 x 200 (brought to the exact size when the ratio is not 2) keeps it sharp.
    const qreal ratio = devicePixelRatioF();
    QPixmap picture;
    if (ratio <= 1) {
        picture.load(QStringLiteral(":/images/encoder-disc.jpg"));
    } else {
        picture.load(QStringLiteral(":/images/encoder-disc@2x.png"));
        const int side = qRound(picture.width() / 2 * ratio);
        if (side != picture.width())
            picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    m_ui->Picture1->setPixmap(picture);
}

void Pelmora::showOverflowMessage()
{
    QMessageBox::critical(this, tr("Препълване"),
                          tr("Числото е твърде голямо.\n"
                             "Могат да се преобразуват цели числа, чиято абсолютна стойност "
                             "е най-много 2147483647."));
    // The refused number waits selected in its field, to be typed over at once.
    QLineEdit *input = Text2[inputField()];
    input->setFocus(Qt::OtherFocusReason);
    input->selectAll();
}

// The five fields of the panel, as the screen shows them, in one sentence. The input is said as
// typed, and a field longer than a sentence (a pasted text) is cut short.
QString Pelmora::resultsSummary() const
{
    constexpr qsizetype longest = 40;
    QStringList texts;
    for (const pelmora::TextField &field : m_panel.Text2) {
        const QString text = QString::fromStdString(field.text);
        texts << (text.size() > longest ? text.left(longest) + u'…' : text);
    }
    return tr("Десетично число %1, двоично %2, преместване %3, двоично Грей %4, десетично Грей %5")
        .arg(texts[pelmora::decimalField], texts[pelmora::binaryField], texts[pelmora::shiftField],
             texts[pelmora::binaryGrayField], texts[pelmora::decimalGrayField]);
}
