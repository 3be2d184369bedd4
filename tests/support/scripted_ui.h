// The desktop as a test scripts it: message boxes answered from a queue of expected boxes,
// file dialogs answered with scripted names, modal windows handed to scripted handlers. A box,
// dialog or modal window the test did not expect fails the test.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qtx::test {

class ScriptedUi : public Ui {
 public:
  ~ScriptedUi() override;

  // The next box must have this text and title (icon and buttons too, when given).
  ScriptedUi& expectBox(std::string text, std::string title, MsgAnswer answer = MsgAnswer::OK,
                        std::optional<MsgIcon> icon = std::nullopt, std::optional<MsgButtons> buttons = std::nullopt);
  // Runs while the box expected last is open (a real box runs the event loop, so timers tick).
  ScriptedUi& whileOpen(std::function<void()> action);
  // The next open or save dialog returns this name ("" = the user cancelled).
  ScriptedUi& answerOpen(std::string file_name);
  ScriptedUi& answerSave(std::string file_name);
  // The next modal showing of this window runs the handler (which typically sets controls and
  // presses a button that hides or unloads the window).
  ScriptedUi& onModal(std::string form_name, std::function<void(FormBase&)> handler);

  // Every expectation used up; fails the test otherwise. Called by the destructor too.
  void verify();
  void clearExpectations();

  MsgAnswer msgbox(const MsgBox& box) override;
  void showOpen(CommonDialog& dialog) override;
  void showSave(CommonDialog& dialog) override;
  void showModal(FormBase& form) override;
  void setMousePointer(QWidget* window, MousePointer pointer) override;
  void setClipboardText(std::string_view text) override;
  std::string clipboardText() override;

  // What was shown, in order.
  std::vector<MsgBox> boxes;
  std::vector<CommonDialog> open_dialogs;
  std::vector<CommonDialog> save_dialogs;
  std::vector<std::string> modal_forms;
  std::vector<std::pair<QWidget*, MousePointer>> pointers;
  std::string clipboard;

 private:
  struct ExpectedBox {
    std::string text, title;
    MsgAnswer answer;
    std::optional<MsgIcon> icon;
    std::optional<MsgButtons> buttons;
    std::function<void()> while_open;
  };
  struct ExpectedModal {
    std::string form;
    std::function<void(FormBase&)> handler;
  };
  std::deque<ExpectedBox> expected_boxes_;
  std::deque<std::string> open_answers_;
  std::deque<std::string> save_answers_;
  std::deque<ExpectedModal> modals_;
  bool verified_ = false;
};

// Text of a box for failure messages: CR shown as "\r".
std::string printable(std::string_view text);

}  // namespace qtx::test
