// What the windows ask of the desktop: message boxes, the open and save dialogs, modal showing
// of a window, the mouse pointer and the clipboard. The Qt implementation shows real dialogs;
// tests put a scripted double in its place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class QWidget;

namespace qtx {

class FormBase;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgAnswer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MsgBox {
  std::string text;  // lines separated by CR (Chr(13)) as the program writes them
  std::string title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::OK;
  int default_button = 1;  // 1 = first button, 2 = second, 3 = third
};

// The common dialog: the caller fills it, shows it as an open or a save dialog, and reads
// FileName back (empty when the user cancelled).
struct CommonDialog {
  // Flags, as the callers combine them.
  static constexpr int32_t kOverwritePrompt = 0x2;
  static constexpr int32_t kHideReadOnly = 0x4;
  static constexpr int32_t kNoChangeDir = 0x8;
  static constexpr int32_t kPathMustExist = 0x800;
  static constexpr int32_t kFileMustExist = 0x1000;
  // The sets the file routines use.
  // Open (6156): file and path must exist, current folder kept, read-only box hidden.
  static constexpr int32_t kOpenFlags = kFileMustExist | kPathMustExist | kNoChangeDir | kHideReadOnly;
  // Save (2062): overwrite question, path must exist, current folder kept, read-only box hidden.
  static constexpr int32_t kSaveFlags = kOverwritePrompt | kPathMustExist | kNoChangeDir | kHideReadOnly;
  // Conversion (6152): file and path must exist, current folder kept.
  static constexpr int32_t kConvertFlags = kFileMustExist | kPathMustExist | kNoChangeDir;

  std::string DialogTitle;
  std::string InitDir;     // folder and file names in the file system's encoding (UTF-8)
  std::string Filter;      // "description|pattern|description|pattern..."
  std::string DefaultExt;  // added to a typed name without an extension
  std::string FileName;
  int32_t Flags = 0;
  int FilterIndex = 1;
};

// What the flags ask of the Qt file dialog. The read-only box (kHideReadOnly) needs nothing:
// the Qt dialog has no such box.
struct FileDialogBehaviour {
  bool file_must_exist = false;    // only an existing file can be chosen
  bool path_must_exist = false;    // the chosen file's folder must exist
  bool confirm_overwrite = false;  // a save dialog asks before an existing file is chosen
  bool keep_current_dir = false;   // the program's current folder stays as it is
};
FileDialogBehaviour file_dialog_behaviour(int32_t flags, bool save);

enum class MousePointer { Default, Hourglass };

class Ui {
 public:
  virtual ~Ui() = default;
  virtual MsgAnswer msgbox(const MsgBox& box) = 0;
  virtual void showOpen(CommonDialog& dialog) = 0;
  virtual void showSave(CommonDialog& dialog) = 0;
  // Shows the window modally; returns when it is hidden or unloaded.
  virtual void showModal(FormBase& form) = 0;
  // The pointer over one window (nullptr: the whole screen).
  virtual void setMousePointer(QWidget* window, MousePointer pointer) = 0;
  virtual void setClipboardText(std::string_view text) = 0;
  virtual std::string clipboardText() = 0;

  // MsgBox(text, buttons + icon + default, title), as the windows call it.
  MsgAnswer msgbox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title,
                   int default_button = 1) {
    return msgbox(MsgBox{std::string(text), std::string(title), icon, buttons, default_button});
  }
};

// The filter "desc|pattern|desc|pattern" as the Qt dialog takes it ("desc (pattern);;...").
std::string qt_name_filters(std::string_view filter);

class QtUi : public Ui {
 public:
  MsgAnswer msgbox(const MsgBox& box) override;
  void showOpen(CommonDialog& dialog) override;
  void showSave(CommonDialog& dialog) override;
  void showModal(FormBase& form) override;
  void setMousePointer(QWidget* window, MousePointer pointer) override;
  void setClipboardText(std::string_view text) override;
  std::string clipboardText() override;
};

}  // namespace qtx
