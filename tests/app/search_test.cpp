// Find, find next and find-and-replace of SearchController on a real editor.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "app/message_box.h"
#include "app/search_controller.h"
#include "app/search_dialogs.h"
#include "config/conf.h"
#include "editor_fixture.h"

namespace numvex::testing {
namespace {

using Selection = std::pair<long, long>;

// "sum" is a whole word at 6 and 18, part of a word at 0 and 10.
constexpr const char* kDoc = "Summe sum\nsummary SUM";

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() : editor(MakeEditor()), search(new SearchController(editor.get(), &window)) {
    Conf.Language = 1;
    SetMessageHandler([this](const MessageRequest& r) {
      if (r.buttons == MessageButtons::Ok) return reports.push_back(r.text), int{mrOk};
      return answers.at(static_cast<size_t>(prompts++));  // more questions than answers fail
    });
  }
  ~SearchTest() override {
    SetMessageHandler(nullptr);
    ResetConfToProgramStart();
  }
  void Load(const char* text, long anchor, long caret) {
    editor->setText(text);
    editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    editor->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
  }
  Selection Selected() const {
    return {editor->SendScintilla(Sci::SCI_GETSELECTIONSTART),
            editor->SendScintilla(Sci::SCI_GETSELECTIONEND)};
  }
  void SetFind(const char* text, bool whole, bool top, bool close) {
    TfrmSearch* d = search->FindDialog();
    d->SearchText()->setText(text);
    d->WholeWords()->setChecked(whole);
    d->FromTop()->setChecked(top);
    d->CloseAfterSearch()->setChecked(close);
  }

  QWidget window;
  std::unique_ptr<QsciScintilla> editor;
  SearchController* search;
  std::vector<int> answers;
  int prompts = 0;
  std::vector<std::string> reports;
};

TEST_F(SearchTest, FindIgnoresCaseHonoursWholeWordsStartsAtTheTopOnceAndDoesNotWrap) {
  // clang-format off
  const struct { const char* text; bool whole, top; long caret; Selection found; } kCases[] = {
      {"sUM", false, false, 0, {0, 3}}, {"sum", true, false, 0, {6, 9}},
      {"sum", false, true, 21, {0, 3}}, {"sum", true, false, 19, {19, 19}}};
  // clang-format on
  for (const auto& c : kCases) {
    Load(kDoc, c.caret, c.caret);
    SetFind(c.text, c.whole, c.top, true);
    search->Search();
    EXPECT_EQ(std::pair(Selected(), search->FindDialog()->FromTop()->isChecked()),
              std::pair(c.found, false))
        << c.text << " " << c.caret;
  }
}

TEST_F(SearchTest, FindNextRepeatsTheLastSearchFromTheCaret) {
  Load(kDoc, 21, 21);
  SetFind("sum", true, true, true);
  search->Search();
  SetFind("", false, true, true);  // what the window shows now is not what was searched
  std::vector<Selection> found = {Selected()};
  for (bool more : {true, false}) {
    EXPECT_EQ(search->FindNext(), more);
    found.push_back(Selected());
  }
  EXPECT_EQ(found, (std::vector<Selection>{{6, 9}, {18, 21}, {18, 21}}));
}

TEST_F(SearchTest, TheFindWindowStaysOpenUnlessToldToClose) {
  Load(kDoc, 0, 0);
  SetFind("sum", false, false, false);
  TfrmSearch* dialog = search->FindDialog();
  dialog->show();
  std::vector<std::pair<Selection, bool>> seen;
  for (bool close : {false, false, true}) {
    dialog->CloseAfterSearch()->setChecked(close);
    dialog->findChild<QPushButton*>("btnSuchen")->click();
    seen.emplace_back(Selected(), dialog->isVisible());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<Selection, bool>>{
                      {{0, 3}, true}, {{6, 9}, true}, {{10, 13}, false}}));
}

TEST_F(SearchTest, ReplaceAsksCountsKeepsToItsAreaAndIsOneUndoStep) {
  const std::string kNone = "Text not found or no replaces made.";
  enum { kCursor, kSelection, kComplete };
  // clang-format off
  const struct {
    const char* doc; Selection selected; const char *what, *with; bool all, whole, prompt; int area;
    std::vector<int> answers; const char* result; int prompts; std::string report;
  } kCases[] = {
      {"ab abc ab", {0, 0}, "ab", "x", true, true, true, kCursor, {mrNo, mrNo}, "ab abc ab", 2, kNone},
      {"ab ab ab", {0, 0}, "ab", "x", true, false, true, kCursor, {mrYes, mrNo, mrYes}, "x ab x", 3, "2 times replaced."},
      {"ab ab", {0, 0}, "ab", "x", true, false, true, kCursor, {mrCancel}, "ab ab", 1, kNone},
      {"ab ab", {0, 0}, "AB", "x", false, false, false, kCursor, {}, "x ab", 0, "1 times replaced."},
      {"ab ab", {5, 5}, "ab", "x", true, false, false, kComplete, {}, "x x", 0, "2 times replaced."},
      {"ab ab ab", {0, 5}, "ab", "xyz", true, false, false, kSelection, {}, "xyz xyz ab", 0, "2 times replaced."},
      {"ab ab ab", {0, 5}, "ab", "", true, false, false, kSelection, {}, "  ab", 0, "2 times replaced."},
      {"ab ab", {0, 0}, "ab", "xaby", true, false, false, kComplete, {}, "xaby xaby", 0, "2 times replaced."},
      {"ab", {0, 0}, "", "x", true, false, false, kComplete, {}, "ab", 0, ""}};
  // clang-format on
  TfrmSearchReplace* d = search->ReplaceDialog();
  for (const auto& c : kCases) {
    Load(c.doc, c.selected.first, c.selected.second);
    d->SearchText()->setText(c.what);
    d->ReplaceText()->setText(c.with);
    d->ReplaceAll()->setChecked(c.all);
    d->WholeWords()->setChecked(c.whole);
    d->Prompt()->setChecked(c.prompt);
    d->Areas()->button(c.area)->setChecked(true);
    answers = c.answers, prompts = 0, reports.clear();
    search->Replace();
    EXPECT_EQ(std::tuple(editor->text().toStdString(), prompts, Join(reports, "|")),
              std::tuple(c.result, c.prompts, c.report))
        << c.doc << " " << c.with;
    editor->undo();
    EXPECT_EQ(editor->text().toStdString(), c.doc);
  }
}

}  // namespace
}  // namespace numvex::testing
