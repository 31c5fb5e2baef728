// The floor for Pelmora's start-up: the same window written plainly by hand, with no form
// description, no resource system, no style sheet and nothing else. Same size, caption, font,
// controls with their texts and colours, picture and explanatory text. It only needs to look
// the same; it does not convert anything.
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

void paint(QWidget *widget, QPalette::ColorRole role, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(
        QStringLiteral("www.pelmora.example Информатика - двоично-реверсивен код, Грей"));
    window.setFixedSize(481, 393);
    window.setFont(QFont(QStringLiteral("Times New Roman"), 12));
    paint(&window, QPalette::Window, QColor(192, 192, 255));

    const QColor labelColour(255, 192, 128);
    auto *title = new QLabel(QStringLiteral("Информатика - код на Грей"), &window);
    title->setGeometry(88, 0, 305, 25);
    title->setAlignment(Qt::AlignCenter);
    paint(title, QPalette::Window, labelColour);

    auto *picture = new QLabel(&window);
    picture->setGeometry(40, 32, 104, 104);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setPixmap(QPixmap(QStringLiteral(PELMORA_PICTURE)));

    const char *captions[] = {
        "Десетично число:", "Двоично число:", "Преместване:", "Двоично Грей:", "Десетично Грей:"};
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QString::fromUtf8(captions[i]), &window);
        label->setGeometry(176, 32 + 32 * i, 129, 27);
        paint(label, QPalette::Window, labelColour);
        auto *field = new QLineEdit(&window);
        field->setGeometry(304, 32 + 32 * i, 169, 27);
        field->setReadOnly(i >= 1 && i <= 3);
        field->setEnabled(i != 4);
    }

    auto *frame = new QGroupBox(QStringLiteral("Преобразува кода"), &window);
    frame->setGeometry(8, 144, 161, 81);
    const char *options[] = {"Десетично в Грей", "Грей в десетично"};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(QString::fromUtf8(options[i]), frame);
        option->setGeometry(8, 24 + 24 * i, 145, 25);
        option->setChecked(i == 0);
        paint(option, QPalette::Window, QColor(128, 128, 255));
    }

    auto *calculate = new QPushButton(QStringLiteral("Изчисли"), &window);
    calculate->setGeometry(184, 200, 113, 25);
    paint(calculate, QPalette::Button, QColor(128, 255, 128));
    auto *clear = new QPushButton(QStringLiteral("Изчисти"), &window);
    clear->setGeometry(360, 200, 113, 25);
    paint(clear, QPalette::Button, QColor(255, 0, 0));

    QFile quotationFile(QStringLiteral(PELMORA_QUOTATION));
    quotationFile.open(QIODevice::ReadOnly);
    auto *quotation = new QPlainTextEdit(QString::fromUtf8(quotationFile.readAll()), &window);
    quotation->setGeometry(40, 312, 449, 121);
    quotation->setReadOnly(true);
    quotation->setVisible(false);

    QFile textFile(QStringLiteral(PELMORA_EXPLANATION));
    textFile.open(QIODevice::ReadOnly);
    auto *text = new QPlainTextEdit(QString::fromUtf8(textFile.readAll()), &window);
    text->setGeometry(8, 232, 465, 153);
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setFocus();

    window.show();
    return QApplication::exec();
}
