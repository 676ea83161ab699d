#pragma once

#include <QLocale>
#include <QTranslator>

namespace tollwen {

// The window's texts in the user's language: the editor's own translation, built into the
// program, and Qt's for its standard dialogs and buttons, from Qt's translations folder, in
// the same language, so that no window mixes two languages. English is the source language:
// for a language the editor has no translation for, everything stays English.
class Translations {
 public:
  // Installs the translations for `language` (by default the user's) while the object lives.
  explicit Translations(const QLocale& language = QLocale());
  ~Translations();
  Translations(const Translations&) = delete;
  Translations& operator=(const Translations&) = delete;

 private:
  QTranslator editor_;
  QTranslator qt_;
};

}  // namespace tollwen
