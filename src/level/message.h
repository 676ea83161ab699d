#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

namespace tollwen {

// A text for the user that both programs show: the editor's window in the user's language, the
// level tool always in English (scripts and CI read its output). It is kept as its English
// source, with %1, %2, ... where its parts go, and those parts: texts that read the same in
// every language (a file name, a number, a tile code), or messages of their own, translated
// along with it. Errors carry one (EditorError), and so do the tiles' names.
//
// Each source is marked where it is written, so that Qt's translation tools find it, in the one
// context Translated() looks it up in:
//   Message(QT_TRANSLATE_NOOP("tollwen::Message", "Cannot open file %1"),
//   {Message::Verbatim(path)})
class Message {
 public:
  explicit Message(const char* source, std::vector<Message> parts = {});
  // A text that reads the same in every language.
  static Message Verbatim(std::string text);

  // The text in English, byte for byte as the parts give it.
  std::string English() const;
  // The text in the language of the translations the program installed (UTF-8); in English
  // where it installed none, as the level tool does.
  std::string Translated() const;

 private:
  Message() = default;

  const char* source_ = nullptr;  // nullptr: verbatim_ is the text
  std::string verbatim_;
  std::vector<Message> parts_;
};

}  // namespace tollwen
