#include "platform/forms.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <vector>

#include "platform/app.h"
#include "platform/ui.h"

namespace qtx {

std::string FormBase::formName() { return widget().objectName().toStdString(); }

void FormBase::closeBoxPressed() { app_.forms().unload(*this, UnloadMode::FormControlMenu); }

QWidget& FormBase::frame() {
  if (sub_) return *sub_;
  return widget();
}

void FormBase::Show() {
  if (isMdiChild() && !sub_) app_.forms().attachChild(*this);
  if (sub_) {
    widget().show();
    sub_->show();
    sub_->raise();
  } else {
    widget().show();
    widget().raise();
  }
}

void FormBase::Hide() { frame().hide(); }

void FormBase::ShowModal(FormBase* under) {
  Forms& forms = app_.forms();
  // Only a window that is still loaded afterwards is activated.
  std::string under_name = under ? under->formName() : std::string();
  app_.ui().showModal(*this);
  FormBase* back = under ? forms.find(under_name) : forms.mainWindow();
  if (back && back != this) back->Form_Activate();
}

void FormBase::Unload() { app_.forms().unload(*this, UnloadMode::FormCode); }

bool FormBase::Visible() { return frame().isVisible(); }

int FormBase::Left() { return frame().x() * kTwipsPerPixel; }
int FormBase::Top() { return frame().y() * kTwipsPerPixel; }
int FormBase::Width() { return frame().width() * kTwipsPerPixel; }
int FormBase::Height() { return frame().height() * kTwipsPerPixel; }

void FormBase::Move(int left_twips, int top_twips) {
  frame().move(left_twips / kTwipsPerPixel, top_twips / kTwipsPerPixel);
}

void FormBase::setHeight(int twips) { frame().resize(frame().width(), twips / kTwipsPerPixel); }
void FormBase::setWidth(int twips) { frame().resize(twips / kTwipsPerPixel, frame().height()); }

Forms::~Forms() {
  // Children first, the main window last; a window already destroyed by its parent is skipped.
  std::vector<QPointer<QObject>> order;
  for (auto& [name, f] : forms_)
    if (f != main_) order.emplace_back(&f->frame());
  if (main_) order.emplace_back(&main_->frame());
  forms_.clear();
  for (auto& p : order)
    if (p) delete p.data();
}

FormBase* Forms::find(std::string_view name) const {
  auto it = forms_.find(name);
  return it == forms_.end() ? nullptr : it->second;
}

void Forms::add(const char* name, FormBase* form) {
  forms_.emplace(name, form);
  // Dialogs sit over the main window (the main window itself registers before it is added).
  if (main_ && form != main_ && !form->isMdiChild()) {
    QWidget& w = form->widget();
    Qt::WindowFlags flags = w.windowFlags();
    w.setParent(&main_->widget(), flags | Qt::Window);
  }
}

void Forms::setMainWindow(FormBase* main, QMdiArea* area) {
  main_ = main;
  area_ = area;
}

void Forms::attachChild(FormBase& form) {
  if (!area_ || form.sub_) return;
  QMdiSubWindow* sub = area_->addSubWindow(&form.widget());
  sub->setObjectName(form.widget().objectName() + QStringLiteral("Frame"));
  // The close box of the frame reaches the window's own close handling.
  sub->setAttribute(Qt::WA_DeleteOnClose, false);
  form.sub_ = sub;
}

bool Forms::unload(std::string_view name, UnloadMode mode) {
  FormBase* f = find(name);
  if (!f) return true;
  return unload(*f, mode);
}

bool Forms::unload(FormBase& form, UnloadMode mode) {
  auto it = forms_.begin();
  for (; it != forms_.end(); ++it)
    if (it->second == &form) break;
  if (it == forms_.end()) return true;  // already unloaded
  if (form.Form_QueryUnload(mode)) return false;
  form.Form_Unload();
  // Form_Unload may itself have unloaded the window again.
  it = forms_.begin();
  for (; it != forms_.end(); ++it)
    if (it->second == &form) break;
  if (it == forms_.end()) return true;
  forms_.erase(it);

  QWidget& w = form.widget();
  for (QTimer* t : w.findChildren<QTimer*>()) t->stop();
  QWidget& outer = form.frame();
  outer.hide();
  // Destroyed once control is back in the event loop, so a handler that unloads its own
  // window can still return through it.
  outer.deleteLater();
  if (&form == main_) {
    main_ = nullptr;
    if (end_program_) end_program_();
  }
  return true;
}

}  // namespace qtx
