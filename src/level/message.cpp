#include "level/message.h"

#include <QCoreApplication>
#include <utility>

namespace tollwen {

namespace {

// The context every message source is marked in.
constexpr char kContext[] = "tollwen::Message";

// `pattern` with each of %1 ... %9 replaced by the text of that part, in one pass, so that a
// part that itself holds "%2" (a file name may) stays as it is. A placeholder without a part
// stays in the text.
template <typename PartText>
std::string Filled(const std::string& pattern, const std::vector<Message>& parts,
                   PartText partText) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      const auto part = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (part < parts.size()) {
        text += partText(parts[part]);
        ++i;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

}  // namespace

Message::Message(const char* source, std::vector<Message> parts)
    : source_(source), parts_(std::move(parts)) {}

Message Message::Verbatim(std::string text) {
  Message message;
  message.verbatim_ = std::move(text);
  return message;
}

std::string Message::English() const {
  if (source_ == nullptr) return verbatim_;
  return Filled(source_, parts_, [](const Message& part) { return part.English(); });
}

std::string Message::Translated() const {
  if (source_ == nullptr) return verbatim_;
  return Filled(QCoreApplication::translate(kContext, source_).toStdString(), parts_,
                [](const Message& part) { return part.Translated(); });
}

}  // namespace tollwen
