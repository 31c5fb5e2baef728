// Qt's own texts (the context menus of the text fields, the buttons of message boxes) in
// Bulgarian like the rest of the program, whatever the user's locale.
#pragma once

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pelmora {

// Loads Qt's Bulgarian translation from Qt's translations folder. Without it (the file is
// missing) Qt's English texts stay and the program runs as before.
inline void installQtTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_bg"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace pelmora
