// Drives the Pelmora window the way a user does: clicks, key presses, typing and pasting,
// on controls found by their object names.
#pragma once

#include "core/field_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace pelmora::test {

class WindowDriver
{
public:
    explicit WindowDriver(QWidget *window) : m_window(window) {}

    template <typename T> T *control(const QString &name) const
    {
        T *widget = m_window->findChild<T *>(name);
        if (widget == nullptr)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    QLineEdit *field(int i) const { return control<QLineEdit>(QStringLiteral("Text2_%1").arg(i)); }
    QRadioButton *option(int i) const
    {
        return control<QRadioButton>(QStringLiteral("Option1_%1").arg(i));
    }
    QPushButton *command(int i) const
    {
        return control<QPushButton>(QStringLiteral("Command1_%1").arg(i));
    }

    // Clicks into the field, selects what it holds and types the text over it.
    void type(int i, const QString &text) const
    {
        QLineEdit *edit = field(i);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    // Puts the text on the clipboard and pastes it over what the field holds.
    void paste(int i, const QString &text) const
    {
        QApplication::clipboard()->setText(text);
        QLineEdit *edit = field(i);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

    void choose(int i) const { QTest::mouseClick(option(i), Qt::LeftButton); }
    void calculate() const
    {
        QTest::mouseClick(command(pelmora::calculateCommand), Qt::LeftButton);
    }
    void clear() const { QTest::mouseClick(command(pelmora::clearCommand), Qt::LeftButton); }

    QStringList texts() const
    {
        QStringList result;
        for (int i = 0; i < pelmora::fieldCount; ++i)
            result << field(i)->text();
        return result;
    }

    QList<bool> enabledFlags() const
    {
        QList<bool> result;
        for (int i = 0; i < pelmora::fieldCount; ++i)
            result << field(i)->isEnabled();
        return result;
    }

private:
    QWidget *m_window;
};

// What a message box showed before it was closed.
struct SeenMessage
{
    bool shown = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QString okButton;
};

// Runs the action (which may open a modal message box and wait in it) and closes the first
// message box that appears meanwhile with its OK button, noting what it showed.
inline SeenMessage closeMessageDuring(const std::function<void()> &action)
{
    SeenMessage seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        poll.stop();
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        seen = {true, box->icon(), box->windowTitle(), box->text(), ok->text()};
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

} // namespace pelmora::test
