#include "app/chinese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace chinese {

bool install(QCoreApplication &app)
{
    const QLocale china(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(china);
    auto *translator = new QTranslator(&app);
    if (!translator->load(china, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace chinese
