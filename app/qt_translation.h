// Qt's own texts (the context menus of the text fields, the buttons of message boxes) in
// Bulgarian like the rest of the program, whatever the user's locale.
#pragma once

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pelmora {

// Loads Qt's Bulgarian translation: the copy built into the program where there is one (the
// Windows build, which has no Qt installation beside it), otherwise Qt's translations folder.
// Without either, Qt's English texts stay and the program runs as before.
inline void installQtTranslation(QCoreApplication &app)
{
    const QString name = QStringLiteral("qtbase_bg");
    auto *translator = new QTranslator(&app);
    if (translator->load(name, QStringLiteral(":/i18n")) ||
        translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace pelmora
