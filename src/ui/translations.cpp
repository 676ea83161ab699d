#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tollwen {

Translations::Translations(const QLocale& language) {
  // The compiled translations are resources of the program (see the build).
  if (!editor_.load(language, QStringLiteral("tollwen-level-editor"), QStringLiteral("_"),
                    QStringLiteral(":/i18n"))) {
    return;
  }
  QCoreApplication::installTranslator(&editor_);
  // Qt's texts in the language the editor's own were found in.
  if (qt_.load(QLocale(editor_.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qt_);
  }
}

Translations::~Translations() {
  QCoreApplication::removeTranslator(&qt_);
  QCoreApplication::removeTranslator(&editor_);
}

}  // namespace tollwen
