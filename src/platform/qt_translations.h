// Qt's own translations (standard buttons, context menus) for the user's language.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace orvane {

// While it lives, Qt's standard texts ("Yes", "No", "Cancel", the edit fields' context
// menus) follow `locale`, as far as Qt ships a translation for it; otherwise they stay
// English. Needs a QCoreApplication; the translation is removed again when this ends.
class QtTranslations {
  public:
    explicit QtTranslations(const QLocale& locale = QLocale::system());
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Whether a translation for the locale was found and installed.
    bool installed() const { return m_installed; }

  private:
    QTranslator m_translator;
    bool m_installed = false;
};

} // namespace orvane
