#include "platform/ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "platform/forms.h"
#include "platform/text.h"

namespace qtx {

namespace {

// The patterns of a pattern list, which separates them by ";" or blanks.
std::vector<std::string> pattern_words(std::string_view list) {
  std::vector<std::string> words;
  std::string word;
  for (char c : list) {
    if (c == ';' || c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// Whether the description ends with its own pattern list in parentheses, as "Log Files
// (*.log)" does: the Qt dialog takes the patterns from those parentheses.
bool names_its_patterns(std::string_view desc, std::string_view pattern) {
  if (desc.empty() || desc.back() != ')') return false;
  size_t open = desc.rfind('(');
  if (open == std::string_view::npos) return false;
  return pattern_words(desc.substr(open + 1, desc.size() - open - 2)) == pattern_words(pattern);
}

}  // namespace

std::string qt_name_filters(std::string_view filter) {
  // Pairs of description and pattern; blanks around a pattern are not part of it.
  std::vector<std::string> parts;
  std::string cur;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  parts.push_back(cur);
  auto trim = [](std::string s) {
    size_t b = s.find_first_not_of(' ');
    size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
  };
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (!out.empty()) out += ";;";
    std::string desc = trim(parts[i]);
    std::string pattern = trim(parts[i + 1]);
    for (char& c : pattern)
      if (c == ';') c = ' ';
    // Each kind is shown as its description reads; one that does not name its patterns gets
    // them added, since the dialog filters by what the parentheses hold.
    out += names_its_patterns(desc, pattern) ? desc : desc + " (" + pattern + ")";
  }
  return out;
}

FileDialogBehaviour file_dialog_behaviour(int32_t flags, bool save) {
  FileDialogBehaviour b;
  b.file_must_exist = (flags & CommonDialog::kFileMustExist) != 0;
  // Choosing an existing file implies its folder exists.
  b.path_must_exist = (flags & (CommonDialog::kPathMustExist | CommonDialog::kFileMustExist)) != 0;
  b.confirm_overwrite = save && (flags & CommonDialog::kOverwritePrompt) != 0;
  b.keep_current_dir = (flags & CommonDialog::kNoChangeDir) != 0;
  return b;
}

namespace {

QWidget* active_parent() { return QApplication::activeWindow(); }

QMessageBox::StandardButton standard(MsgAnswer a) {
  switch (a) {
    case MsgAnswer::OK: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Abort: return QMessageBox::Abort;
    case MsgAnswer::Retry: return QMessageBox::Retry;
    case MsgAnswer::Ignore: return QMessageBox::Ignore;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

std::vector<MsgAnswer> answers_of(MsgButtons b) {
  switch (b) {
    case MsgButtons::OK: return {MsgAnswer::OK};
    case MsgButtons::OKCancel: return {MsgAnswer::OK, MsgAnswer::Cancel};
    case MsgButtons::AbortRetryIgnore: return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    case MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::RetryCancel: return {MsgAnswer::Retry, MsgAnswer::Cancel};
  }
  return {MsgAnswer::OK};
}

// A file dialog set up from the common dialog's fields.
QString run_file_dialog(CommonDialog& d, bool save) {
  FileDialogBehaviour how = file_dialog_behaviour(d.Flags, save);
  QFileDialog dlg(active_parent(), toQ(d.DialogTitle), pathToQ(d.InitDir));
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(!save && how.file_must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters = toQ(qt_name_filters(d.Filter)).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    int idx = d.FilterIndex - 1;
    if (idx >= 0 && idx < filters.size()) dlg.selectNameFilter(filters[idx]);
  }
  if (!d.DefaultExt.empty()) dlg.setDefaultSuffix(toQ(d.DefaultExt));
  QFileDialog::Options opts;
  if (!how.confirm_overwrite) opts |= QFileDialog::DontConfirmOverwrite;
  opts |= QFileDialog::DontUseNativeDialog;
  dlg.setOptions(opts);
  if (!d.FileName.empty()) dlg.selectFile(pathToQ(d.FileName));
  for (;;) {
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    QString chosen = dlg.selectedFiles().first();
    QFileInfo fi(chosen);
    if (how.path_must_exist && !fi.absoluteDir().exists()) {
      QMessageBox::warning(
          &dlg, dlg.windowTitle(),
          QStringLiteral("The folder of this file does not exist:\n%1\nChoose a file in an existing folder.")
              .arg(QDir::toNativeSeparators(fi.absolutePath())));
      continue;
    }
    if (!how.keep_current_dir) QDir::setCurrent(fi.absolutePath());
    return QDir::toNativeSeparators(chosen);
  }
}

}  // namespace

MsgAnswer QtUi::msgbox(const MsgBox& box) {
  QMessageBox mb(active_parent());
  mb.setWindowTitle(toQ(box.title));
  mb.setText(toDisplayLines(box.text));
  switch (box.icon) {
    case MsgIcon::Critical: mb.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: mb.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: mb.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: mb.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
  }
  std::vector<MsgAnswer> answers = answers_of(box.buttons);
  QMessageBox::StandardButtons buttons;
  for (MsgAnswer a : answers) buttons |= standard(a);
  mb.setStandardButtons(buttons);
  int def = box.default_button - 1;
  if (def >= 0 && def < static_cast<int>(answers.size())) mb.setDefaultButton(standard(answers[static_cast<size_t>(def)]));
  int r = mb.exec();
  for (MsgAnswer a : answers)
    if (r == standard(a)) return a;
  // Closed by Esc or the close box: the Cancel or No answer where there is one.
  if (box.buttons == MsgButtons::YesNo) return MsgAnswer::No;
  return answers.size() > 1 ? MsgAnswer::Cancel : MsgAnswer::OK;
}

void QtUi::showOpen(CommonDialog& dialog) {
  dialog.FileName = pathFromQ(run_file_dialog(dialog, false));
}

void QtUi::showSave(CommonDialog& dialog) {
  dialog.FileName = pathFromQ(run_file_dialog(dialog, true));
}

void QtUi::showModal(FormBase& form) {
  QWidget& w = form.widget();
  if (auto* dlg = qobject_cast<QDialog*>(&w)) {
    dlg->setModal(true);
    dlg->exec();
    return;
  }
  // A plain window shown modally: a local loop until it is hidden or destroyed.
  QPointer<QWidget> guard(&w);
  w.setWindowModality(Qt::ApplicationModal);
  w.show();
  QEventLoop loop;
  while (guard && guard->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
  if (guard) guard->setWindowModality(Qt::NonModal);
}

void QtUi::setMousePointer(QWidget* window, MousePointer pointer) {
  if (window) {
    if (pointer == MousePointer::Hourglass)
      window->setCursor(Qt::WaitCursor);
    else
      window->unsetCursor();
    return;
  }
  if (pointer == MousePointer::Hourglass)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void QtUi::setClipboardText(std::string_view text) { QApplication::clipboard()->setText(toQ(text)); }

std::string QtUi::clipboardText() { return fromQ(QApplication::clipboard()->text()); }

}  // namespace qtx
