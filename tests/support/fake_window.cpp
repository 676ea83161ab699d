#include "support/fake_window.h"

#include <algorithm>
#include <utility>

namespace tollwen {

namespace {

template <typename T>
std::optional<T> TakeAnswer(std::deque<std::optional<T>>& answers) {
  if (answers.empty()) return std::nullopt;
  auto answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

// The next answer of the queue, or `whenEmpty` when none is left.
template <typename T>
T TakeAnswerOr(std::deque<T>& answers, T whenEmpty) {
  if (answers.empty()) return whenEmpty;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

void FakeWindow::AnswerPictureFile(std::optional<std::string> path) {
  pictureAnswers_.push_back(std::move(path));
}

void FakeWindow::AnswerSaveFile(std::optional<std::string> path) {
  saveAnswers_.push_back(std::move(path));
}

void FakeWindow::AnswerMusicFile(std::optional<std::string> path) {
  musicAnswers_.push_back(std::move(path));
}

void FakeWindow::AnswerArrowColour(std::optional<QRgb> colour) { colourAnswers_.push_back(colour); }

void FakeWindow::AnswerSaveChanges(SaveChangesAnswer answer) {
  saveChangesAnswers_.push_back(answer);
}

void FakeWindow::AnswerOverwrite(bool overwrite) { overwriteAnswers_.push_back(overwrite); }

void FakeWindow::AnswerReload(bool reload) { reloadAnswers_.push_back(reload); }

void FakeWindow::AnswerRestore(RestoreAnswer answer) { restoreAnswers_.push_back(answer); }

RestoreAnswer FakeWindow::AskRestore(const std::string& question) {
  Record("AskRestore " + question);
  if (restoreAnswers_.empty()) return RestoreAnswer::Later;
  const RestoreAnswer answer = restoreAnswers_.front();
  restoreAnswers_.pop_front();
  return answer;
}

bool FakeWindow::AllAnswersTaken() const {
  return pictureAnswers_.empty() && saveAnswers_.empty() && musicAnswers_.empty() &&
         colourAnswers_.empty() && saveChangesAnswers_.empty() && overwriteAnswers_.empty() &&
         reloadAnswers_.empty() && restoreAnswers_.empty();
}

bool FakeWindow::AskOverwrite(const std::string& question) {
  Record("AskOverwrite " + question);
  return TakeAnswerOr(overwriteAnswers_, false);
}

bool FakeWindow::AskReload(const std::string& question) {
  Record("AskReload " + question);
  return TakeAnswerOr(reloadAnswers_, false);
}

SaveChangesAnswer FakeWindow::AskSaveChanges(const std::string& question) {
  Record("AskSaveChanges " + question);
  if (saveChangesAnswers_.empty()) return SaveChangesAnswer::Cancel;
  const SaveChangesAnswer answer = saveChangesAnswers_.front();
  saveChangesAnswers_.pop_front();
  return answer;
}

void FakeWindow::OnProcessPendingMessages(std::function<void()> hook) {
  onProcessPending_ = std::move(hook);
}

void FakeWindow::OnCall(std::function<void(const std::string&)> hook) { onCall_ = std::move(hook); }

int FakeWindow::CountOf(std::string_view entry) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), entry));
}

void FakeWindow::ClearCalls() {
  calls_.clear();
  messages_.clear();
}

std::optional<std::string> FakeWindow::AskPictureFile(const std::string& initialDir) {
  pictureDirs_.push_back(initialDir);
  Record("AskPictureFile " + initialDir);
  return TakeAnswer(pictureAnswers_);
}

std::optional<std::string> FakeWindow::AskSaveFile(const std::string& initialDir) {
  saveDirs_.push_back(initialDir);
  Record("AskSaveFile " + initialDir);
  return TakeAnswer(saveAnswers_);
}

std::optional<std::string> FakeWindow::AskMusicFile(const std::string& initialDir) {
  musicDirs_.push_back(initialDir);
  Record("AskMusicFile " + initialDir);
  return TakeAnswer(musicAnswers_);
}

std::optional<QRgb> FakeWindow::AskArrowColour(QRgb current) {
  coloursAsked_.push_back(current);
  Record("AskArrowColour");
  return TakeAnswer(colourAnswers_);
}

void FakeWindow::ShowMessage(const std::string& text) {
  messages_.push_back(text);
  Record("ShowMessage " + text);
}

void FakeWindow::RepaintGrid() { Record("RepaintGrid"); }

void FakeWindow::ShowArrowColour(QRgb colour) {
  Record("ShowArrowColour " + QColor(colour).name().toStdString());
}

void FakeWindow::ProcessPendingMessages() {
  ++pendingMessageRuns_;
  Record("ProcessPendingMessages");
  if (onProcessPending_) onProcessPending_();
}

void FakeWindow::Record(std::string entry) {
  calls_.push_back(entry);
  // The hook gets its own copy: it may call the window again, which grows the log.
  if (onCall_) onCall_(entry);
}

}  // namespace tollwen
