// The base of the window's Qt Test classes: one Pelmora window for each test function, made as
// the program's entry makes it (with the accessibility interfaces installed and Wayland windows
// kept exposed), shown, and driven through m_driver.
#pragma once

#include "form/pelmora.h"
#include "tests/support/window_driver.h"
#include "widgets/accessibility.h"
#include "widgets/wayland_exposure.h"

#include <QObject>
#include <QTest>

#include <memory>

namespace pelmora::test {

class WindowTest : public QObject
{
protected:
    enum class Wait { Exposed, Active };

    // Call from init() as QVERIFY(openWindow()), or from a test function that first changes what
    // the window is made with.
    [[nodiscard]] bool openWindow(Wait wait = Wait::Exposed)
    {
        widgets::installAccessibleInterfaces();
        widgets::keepWaylandWindowsExposed();
        m_window = std::make_unique<Pelmora>();
        m_window->show();
        m_driver = std::make_unique<WindowDriver>(m_window.get());
        if (wait == Wait::Exposed)
            return QTest::qWaitForWindowExposed(m_window.get());
        m_window->activateWindow();
        return QTest::qWaitForWindowActive(m_window.get());
    }

    // Call from cleanup().
    void closeWindow()
    {
        m_driver.reset();
        m_window.reset();
    }

    std::unique_ptr<Pelmora> m_window;
    std::unique_ptr<WindowDriver> m_driver;
};

} // namespace pelmora::test
