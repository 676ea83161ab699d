// Undo and redo of edits, the modified state, and the question before unsaved work is lost.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/editor_fixture.h"
#include "support/case_name.h"

namespace tollwen::test {
namespace {

class HistoryTest : public EditorTest {
 protected:
  // A level with a known first row, saved and clean.
  void OpenLevel() {
    if (editor_.Modified()) window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
    dir_ = MakeDir("levels");
    WriteFileBytes(dir_ + "level1.dat", LevelText("tune.mod", RowsWithFirst(kFirstRow)));
    Open(MakePicture(dir_ + "level1.jpg"));
  }
  // One stroke painting `tile` into row `row`, columns first .. last.
  void Stroke(TileCode tile, int row, int first, int last) {
    editor_.ChooseTile(tile);
    std::vector<QPoint> cells;
    for (int column = first; column <= last; ++column) cells.emplace_back(column, row);
    EditorTest::Stroke(cells);
  }
  std::string Row(int row) {
    std::string text;
    for (int column = 1; column <= 19; ++column) text += Level().Grid().CellAt(column, row);
    return text;
  }

  static constexpr const char* kFirstRow = "1x20000000000000003";  // 'x' is not a tile code
  std::string dir_;
};

TEST_F(HistoryTest, AStrokeUndoesInOneStepAndRedoesExactly) {
  OpenLevel();
  Stroke('5', 1, 1, 8);
  Stroke('7', 2, 3, 4);
  EXPECT_EQ(Row(1), "5555555500000000003");

  editor_.Undo();
  EXPECT_EQ(Row(2), kBlankRow);
  editor_.Undo();
  // Every cell gets back exactly what it held, also a character that is not a tile code.
  EXPECT_EQ(Row(1), kFirstRow);
  EXPECT_FALSE(editor_.Modified());
  // The display was told which cells to show anew: the stroke's row, in one range.
  EXPECT_EQ(changedCells_.back(), QRect(1, 1, 8, 1));

  editor_.Redo();
  editor_.Redo();
  EXPECT_EQ(Row(1), "5555555500000000003");
  EXPECT_EQ(Row(2), "0077000000000000000");
  EXPECT_TRUE(editor_.Modified());
}

TEST_F(HistoryTest, WhatMakesAStepAndWhatStartsAFreshHistory) {
  OpenLevel();
  Stroke('1', 1, 1, 1);  // the cell already holds '1': nothing changes
  EXPECT_FALSE(editor_.Modified());
  // A cell given two codes in one edit keeps the last, also when that is the code it holds.
  Level().Edit(QStringLiteral("Twice"), {{{3, 1}, '5'}, {{3, 1}, '2'}});
  EXPECT_EQ(Row(1), kFirstRow);
  EXPECT_FALSE(editor_.Modified());

  window_.AnswerMusicFile("/music/theme.xm");
  editor_.SelectMusic();
  EXPECT_TRUE(editor_.Modified());
  editor_.Undo();
  EXPECT_EQ(Level().MusicName(), "tune.mod");
  EXPECT_FALSE(editor_.Modified());

  // Saving marks the clean point; undoing past it is modified, redoing back is clean again.
  Stroke('9', 3, 1, 2);
  editor_.Save();
  EXPECT_FALSE(editor_.Modified());
  editor_.Undo();
  EXPECT_TRUE(editor_.Modified());
  editor_.Redo();
  EXPECT_FALSE(editor_.Modified());

  // New starts an empty history: undo never reaches the level before it.
  editor_.NewLevel();
  editor_.Undo();
  EXPECT_EQ(Row(3), kBlankRow);

  // Close empties the history: nothing can change the hidden level and go into the next save.
  Stroke('4', 5, 1, 1);
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.CloseLevel();
  editor_.Undo();
  editor_.Redo();
  EXPECT_EQ(Row(5), "4000000000000000000");
  EXPECT_FALSE(editor_.Modified());
}

// Each command that would lose a modified level asks first, and only then.
struct QuestionCase {
  const char* name;
  SaveChangesAnswer answer;
  bool saveDialogCancelled;  // Save falls through to Save As, which the user cancels
  bool goesOn;               // the New, Open or Close happens
  bool saved;                // the data file holds the edit afterwards
};

class QuestionTest : public HistoryTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(QuestionTest, NewOpenAndCloseAskBeforeLosingEdits) {
  const QuestionCase& c = GetParam();
  // Each command is told whether it will get as far as its own dialog, and says whether it
  // happened.
  struct Command {
    std::string question;
    std::function<void(bool)> run;
    std::function<bool()> happened;
  };
  const std::vector<Command> commands = {
      {"Save changes to the level before starting a new level?",
       [this](bool) { editor_.NewLevel(); }, [this] { return Row(1) == kBlankRow; }},
      {"Save changes to the level before opening another level?",
       [this](bool asksForPicture) {
         if (asksForPicture) window_.AnswerPictureFile(MakePicture(dir_ + "other.jpg"));
         editor_.OpenLevel();
       },
       [this] { return Row(1) == kBlankRow; }},
      {"Save changes to the level before closing it?", [this](bool) { editor_.CloseLevel(); },
       [this] { return !Level().Editable(); }},
  };
  for (const auto& [question, command, happened] : commands) {
    SCOPED_TRACE(question);
    OpenLevel();
    Stroke('6', 1, 2, 2);
    if (c.saveDialogCancelled) Level().SetDataPath("");  // Save then asks for a file
    window_.ClearCalls();
    window_.AnswerSaveChanges(c.answer);
    if (c.saveDialogCancelled) window_.AnswerSaveFile(std::nullopt);

    command(c.goesOn);

    EXPECT_EQ(window_.CountOf("AskSaveChanges " + question), 1);
    EXPECT_EQ(happened(), c.goesOn) << Row(1);
    EXPECT_EQ(ReadFileBytes(dir_ + "level1.dat").find("1620000000000000003") != std::string::npos,
              c.saved);
    EXPECT_EQ(editor_.Modified(), !c.goesOn && !c.saved);
    EXPECT_TRUE(window_.AllAnswersTaken());

    // Unmodified now or after the command: the same command asks nothing.
    if (!editor_.Modified()) {
      window_.ClearCalls();
      command(true);
      EXPECT_EQ(window_.CountOf("AskSaveChanges " + question), 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QuestionTest,
    ::testing::Values(QuestionCase{"Cancel", SaveChangesAnswer::Cancel, false, false, false},
                      QuestionCase{"Discard", SaveChangesAnswer::Discard, false, true, false},
                      QuestionCase{"Save", SaveChangesAnswer::Save, false, true, true},
                      QuestionCase{"SaveCancelled", SaveChangesAnswer::Save, true, false, false}),
    CaseName());

}  // namespace
}  // namespace tollwen::test
