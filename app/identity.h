// How the program names itself to the platform: its name, version, publisher and desktop
// entry, all from the generated about.h.
#pragma once

#include "about.h"

#include <QGuiApplication>

namespace pelmora {

inline void describeApplication()
{
    QCoreApplication::setApplicationName(QString::fromUtf8(about::applicationName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(about::version));
    QCoreApplication::setOrganizationDomain(QString::fromUtf8(about::webAddress));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(about::applicationId));
}

} // namespace pelmora
