#include "form/resources.h"

#include <QFile>

namespace pelmora {

QString textResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace pelmora
