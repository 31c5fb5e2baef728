#include "form/pelmora.h"

#include "about.h"
#include "core/conversions.h"
#include "form/long_text_view.h"
#include "ui_pelmora.h"

#include <QFile>
#include <QMessageBox>
#include <QScreen>

#include <limits>

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString textResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

// Given when the window is made: changing the flags later re-parents the window, which drops
// the font that the design sets.
constexpr Qt::WindowFlags designedWindowFlags =
    Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace

Pelmora::Pelmora(QWidget *parent)
    : QWidget(parent, designedWindowFlags), m_ui(std::make_unique<Ui::Pelmora>())
{
    Q_INIT_RESOURCE(pelmora);
    m_ui->setupUi(this);
    Text2 = {m_ui->Text2_0, m_ui->Text2_1, m_ui->Text2_2, m_ui->Text2_3, m_ui->Text2_4};
    Option1 = {m_ui->Option1_0, m_ui->Option1_1};
    Command1 = {m_ui->Command1_0, m_ui->Command1_1};
    Label1 = {m_ui->Label1_0, m_ui->Label1_1, m_ui->Label1_2,
              m_ui->Label1_3, m_ui->Label1_4, m_ui->Label1_5};
    Text1 = {m_ui->Text1_0, m_ui->Text1_1};
    Frame1 = m_ui->Frame1;
    Picture1 = m_ui->Picture1;

    // The layout is absolute: the window keeps its designed size and can be minimised but not
    // maximised. It opens in the middle of the screen.
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(size());
    move(screen()->availableGeometry().center() - rect().center());
    setWindowTitle(QString::fromUtf8(pelmora::about::webAddress) + u' ' + windowTitle());

    Text1[0]->setPlainText(textResource(QStringLiteral(":/text/explanation.txt")));
    Text1[1]->setPlainText(textResource(QStringLiteral(":/text/quotation.txt")));
    Text1[0]->setFocus();

    for (std::size_t i = 0; i < Text2.size(); ++i) {
        // No length limit: a pasted text of any length is read as typed, and shown without
        // slowing the window down.
        Text2[i]->setMaxLength(std::numeric_limits<int>::max());
        new pelmora::LongTextView(Text2[i]);
        // A screen reader announces each field by its label, without the colon.
        QString caption = Label1[i + 1]->text();
        if (caption.endsWith(u':'))
            caption.chop(1);
        Text2[i]->setAccessibleName(caption);
    }

    for (int i = 0; i < int(Option1.size()); ++i) {
        // The handler runs once the button has become the chosen one, whether by mouse or
        // keyboard; choosing the direction that is already chosen changes nothing.
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                Option1_Click(i);
        });
    }
    for (int i = 0; i < int(Command1.size()); ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });

    Form_Load();
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
    switch (index) {
    case 0:
        m_panel.Text2[0].enabled = true;
        m_panel.Text2[4].enabled = false;
        break;
    case 1:
        m_panel.Text2[4].enabled = true;
        m_panel.Text2[0].enabled = false;
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
    switch (index) {
    case 0: {
        // A number out of range is reported and the calculation is dropped: the conversions
        // write no field before they fail, and CurrentNumber is put back too.
        const auto currentNumber = m_panel.CurrentNumber;
        try {
            if (m_panel.Option1[0])
                pelmora::DecimalToGray(m_panel);
            else
                pelmora::GrayToDecimal(m_panel);
        } catch (const pelmora::OverflowError &) {
            m_panel.CurrentNumber = currentNumber;
            showOverflowMessage();
        }
        break;
    }
    case 1:
        ClearFields();
        break;
    default:
        break;
    }
    showFields();
}

void Pelmora::ClearFields()
{
    for (auto &field : m_panel.Text2)
        field.text.clear();
    const bool decimalToGray = m_panel.Option1[0];
    m_panel.Text2[0].enabled = decimalToGray;
    m_panel.Text2[4].enabled = !decimalToGray;
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
        const QString text = fromUtf8(m_panel.Text2[i].text);
        // Leave an unchanged field alone, so that its cursor and selection stay.
        if (Text2[i]->text() != text)
            Text2[i]->setText(text);
        Text2[i]->setEnabled(m_panel.Text2[i].enabled);
    }
}

void Pelmora::showOverflowMessage()
{
    QMessageBox::critical(this, tr("Препълване"),
                          tr("Числото е твърде голямо.\n"
                             "Могат да се преобразуват цели числа, чиято абсолютна стойност "
                             "е най-много 2147483647."));
}
