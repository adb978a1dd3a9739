// Loading Qt's translation catalogue.
#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orvane {

QtTranslations::QtTranslations(const QLocale& locale) {
    // "qtbase" holds the texts of Qt's widgets; the catalogues come from the system's Qt
    // (qtbase_de.qm and so on), looked up by the locale's languages in order of preference.
    m_installed = m_translator.load(locale, "qtbase", "_",
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                  QCoreApplication::installTranslator(&m_translator);
}

} // namespace orvane
