#include "widgets/accessibility.h"

#include "widgets/announcer.h"
#include "widgets/line_edit_accessible.h"

#include <QAccessible>

namespace widgets {

void installAccessibleInterfaces()
{
    QAccessible::installFactory(lineEditAccessibleInterface);
    QAccessible::installFactory(Announcer::accessibleInterface);
}

} // namespace widgets
