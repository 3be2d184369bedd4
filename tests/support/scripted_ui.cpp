#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "platform/forms.h"

namespace qtx::test {

std::string printable(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out.push_back(c);
  }
  return out;
}

ScriptedUi::~ScriptedUi() {
  if (!verified_) verify();
}

ScriptedUi& ScriptedUi::expectBox(std::string text, std::string title, MsgAnswer answer, std::optional<MsgIcon> icon,
                                  std::optional<MsgButtons> buttons) {
  expected_boxes_.push_back(ExpectedBox{std::move(text), std::move(title), answer, icon, buttons, {}});
  verified_ = false;
  return *this;
}

ScriptedUi& ScriptedUi::whileOpen(std::function<void()> action) {
  if (expected_boxes_.empty())
    ADD_FAILURE() << "whileOpen without an expected box";
  else
    expected_boxes_.back().while_open = std::move(action);
  return *this;
}

ScriptedUi& ScriptedUi::answerOpen(std::string file_name) {
  open_answers_.push_back(std::move(file_name));
  verified_ = false;
  return *this;
}

ScriptedUi& ScriptedUi::answerSave(std::string file_name) {
  save_answers_.push_back(std::move(file_name));
  verified_ = false;
  return *this;
}

ScriptedUi& ScriptedUi::onModal(std::string form_name, std::function<void(FormBase&)> handler) {
  modals_.push_back(ExpectedModal{std::move(form_name), std::move(handler)});
  verified_ = false;
  return *this;
}

void ScriptedUi::verify() {
  verified_ = true;
  for (const auto& b : expected_boxes_)
    ADD_FAILURE() << "expected message box not shown: \"" << printable(b.text) << "\" titled \"" << b.title << "\"";
  for (const auto& n : open_answers_) ADD_FAILURE() << "expected open dialog not shown (answer \"" << n << "\")";
  for (const auto& n : save_answers_) ADD_FAILURE() << "expected save dialog not shown (answer \"" << n << "\")";
  for (const auto& m : modals_) ADD_FAILURE() << "expected modal window not shown: " << m.form;
  clearExpectations();
}

void ScriptedUi::clearExpectations() {
  expected_boxes_.clear();
  open_answers_.clear();
  save_answers_.clear();
  modals_.clear();
}

MsgAnswer ScriptedUi::msgbox(const MsgBox& box) {
  boxes.push_back(box);
  if (expected_boxes_.empty()) {
    ADD_FAILURE() << "unexpected message box: \"" << printable(box.text) << "\" titled \"" << box.title << "\"";
    return box.buttons == MsgButtons::YesNo || box.buttons == MsgButtons::YesNoCancel ? MsgAnswer::No : MsgAnswer::OK;
  }
  ExpectedBox e = expected_boxes_.front();
  expected_boxes_.pop_front();
  EXPECT_EQ(printable(e.text), printable(box.text)) << "message box text";
  EXPECT_EQ(e.title, box.title) << "title of box \"" << printable(box.text) << "\"";
  if (e.icon) {
    EXPECT_EQ(static_cast<int>(*e.icon), static_cast<int>(box.icon)) << "icon of \"" << printable(box.text) << "\"";
  }
  if (e.buttons) {
    EXPECT_EQ(static_cast<int>(*e.buttons), static_cast<int>(box.buttons))
        << "buttons of \"" << printable(box.text) << "\"";
  }
  if (e.while_open) e.while_open();
  return e.answer;
}

void ScriptedUi::showOpen(CommonDialog& dialog) {
  open_dialogs.push_back(dialog);
  if (open_answers_.empty()) {
    ADD_FAILURE() << "unexpected open dialog";
    dialog.FileName.clear();
    return;
  }
  dialog.FileName = open_answers_.front();
  open_answers_.pop_front();
}

void ScriptedUi::showSave(CommonDialog& dialog) {
  save_dialogs.push_back(dialog);
  if (save_answers_.empty()) {
    ADD_FAILURE() << "unexpected save dialog";
    dialog.FileName.clear();
    return;
  }
  dialog.FileName = save_answers_.front();
  save_answers_.pop_front();
}

void ScriptedUi::showModal(FormBase& form) {
  std::string name = form.widget().objectName().toStdString();
  modal_forms.push_back(name);
  if (modals_.empty()) {
    ADD_FAILURE() << "unexpected modal window: " << name;
    return;
  }
  ExpectedModal m = std::move(modals_.front());
  modals_.pop_front();
  EXPECT_EQ(m.form, name) << "modal window shown";
  form.widget().show();
  m.handler(form);
}

void ScriptedUi::setMousePointer(QWidget* window, MousePointer pointer) { pointers.emplace_back(window, pointer); }

void ScriptedUi::setClipboardText(std::string_view text) { clipboard = std::string(text); }

std::string ScriptedUi::clipboardText() { return clipboard; }

}  // namespace qtx::test
