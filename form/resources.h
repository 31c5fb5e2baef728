// The window's texts, compiled into the program from form/text/ (form/pelmora.qrc).
#pragma once

#include <QString>

namespace pelmora {

// The UTF-8 text of the resource at path (":/text/..."); a missing one ends the program, since
// it means a broken build.
QString textResource(const QString &path);

} // namespace pelmora
