#pragma once

#include <QColor>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/window_services.h"

namespace tollwen {

// A scripted stand-in for the main window. Questions take their answers from queues (an
// empty queue answers as a cancel would); every call is recorded in order, so tests can check
// what a command asked, showed and painted, and in which order.
//
// The call log holds one entry per call:
//   "AskPictureFile <dir>", "AskSaveFile <dir>", "AskMusicFile <dir>", "AskArrowColour",
//   "ShowMessage <text>", "ShowNote <text>", "RepaintGrid", "ShowArrowColour #rrggbb",
//   "ProcessPendingMessages", "AskSaveChanges <text>", "AskOverwrite <text>", "AskReload <text>",
//   "AskRestore <text>".
class FakeWindow : public WindowServices {
 public:
  // Answers for the next questions, used in the order queued; nullopt answers as Cancel.
  void AnswerPictureFile(std::optional<std::string> path);
  void AnswerSaveFile(std::optional<std::string> path);
  void AnswerMusicFile(std::optional<std::string> path);
  void AnswerArrowColour(std::optional<QRgb> colour);
  // Answers for the questions before unsaved changes are lost; an empty queue cancels.
  void AnswerSaveChanges(SaveChangesAnswer answer);
  // Answers for the questions before a changed file is written over; an empty queue cancels.
  void AnswerOverwrite(bool overwrite);
  // Answers for the questions before a changed data file is reloaded; an empty queue keeps.
  void AnswerReload(bool reload);
  // Answers for the questions about unsaved changes left behind; an empty queue answers Later.
  void AnswerRestore(RestoreAnswer answer);
  // True when every queued answer has been taken.
  bool AllAnswersTaken() const;

  // Runs inside every ProcessPendingMessages call, after it is recorded (to look at the
  // editor in the middle of a long loop).
  void OnProcessPendingMessages(std::function<void()> hook);
  // Runs inside every call after it is recorded, with its log entry.
  void OnCall(std::function<void(const std::string&)> hook);

  const std::vector<std::string>& Calls() const { return calls_; }
  // How many log entries equal `entry`.
  int CountOf(std::string_view entry) const;
  // Adds an entry to the call log: something the user saw happen meanwhile.
  void Note(std::string entry) { Record(std::move(entry)); }
  // Forgets the call log and messages (the queued answers stay).
  void ClearCalls();

  const std::vector<std::string>& Messages() const { return messages_; }
  // The starting directory of each question of that kind, in order.
  const std::vector<std::string>& PictureDirsAsked() const { return pictureDirs_; }
  const std::vector<std::string>& SaveDirsAsked() const { return saveDirs_; }
  const std::vector<std::string>& MusicDirsAsked() const { return musicDirs_; }
  // The colour each colour question was preset with.
  const std::vector<QRgb>& ColoursAsked() const { return coloursAsked_; }
  int PendingMessageRuns() const { return pendingMessageRuns_; }
  int RepaintCount() const { return CountOf("RepaintGrid"); }
  // The clipboard's text (not part of the call log).
  std::string clipboard;

  // WindowServices
  std::optional<std::string> AskPictureFile(const std::string& initialDir) override;
  std::optional<std::string> AskSaveFile(const std::string& initialDir) override;
  std::optional<std::string> AskMusicFile(const std::string& initialDir) override;
  std::optional<QRgb> AskArrowColour(QRgb current) override;
  void ShowMessage(const std::string& text) override;
  void ShowNote(const std::string& text) override { Record("ShowNote " + text); }
  SaveChangesAnswer AskSaveChanges(const std::string& question) override;
  bool AskOverwrite(const std::string& question) override;
  bool AskReload(const std::string& question) override;
  RestoreAnswer AskRestore(const std::string& question) override;
  void RepaintGrid() override;
  std::optional<std::string> ClipboardText(std::size_t maxBytes) const override {
    if (clipboard.size() > maxBytes) return std::nullopt;
    return clipboard;
  }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void ShowArrowColour(QRgb colour) override;
  void ProcessPendingMessages() override;

 private:
  void Record(std::string entry);

  std::deque<std::optional<std::string>> pictureAnswers_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::deque<std::optional<std::string>> musicAnswers_;
  std::deque<std::optional<QRgb>> colourAnswers_;
  std::deque<SaveChangesAnswer> saveChangesAnswers_;
  std::deque<bool> overwriteAnswers_;
  std::deque<bool> reloadAnswers_;
  std::deque<RestoreAnswer> restoreAnswers_;

  std::vector<std::string> calls_;
  std::vector<std::string> messages_;
  std::vector<std::string> pictureDirs_;
  std::vector<std::string> saveDirs_;
  std::vector<std::string> musicDirs_;
  std::vector<QRgb> coloursAsked_;
  int pendingMessageRuns_ = 0;

  std::function<void()> onProcessPending_;
  std::function<void(const std::string&)> onCall_;
};

}  // namespace tollwen
