#include "platform/forms.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QWindow>
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
    // Showing a child makes it the area's active one, as it becomes the program's.
    if (QMdiArea* area = sub_->mdiArea()) area->setActiveSubWindow(sub_);
  } else {
    widget().show();
    widget().raise();
  }
  app_.forms().activated(*this);
}

void FormBase::Hide() {
  frame().hide();
  // Shown again later, it is activated again.
  app_.forms().forget(*this);
}

void FormBase::ShowModal(FormBase* under) {
  Forms& forms = app_.forms();
  // Only a window that is still loaded afterwards is activated.
  std::string under_name = under ? under->formName() : std::string();
  // While the modal window is open, Qt's activations are not followed: when it closes, the
  // window under it is activated here, once.
  forms.dispatch(*this);
  ++forms.modal_depth_;
  app_.ui().showModal(*this);
  --forms.modal_depth_;
  FormBase* back = under ? forms.find(under_name) : forms.mainWindow();
  if (back && back != this) forms.dispatch(*back);
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

void FormBase::center() {
  Forms& forms = app_.forms();
  QMdiArea* mdi = forms.mdiArea();
  if (isMdiChild()) forms.attachChild(*this);
  QSize area;
  if (isMdiChild() && mdi) {
    area = mdi->viewport()->size();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->geometry().size();
  } else {
    area = QSize(1024, 768);
  }
  double screen_w = area.width() * static_cast<double>(kTwipsPerPixel);
  double screen_h = area.height() * static_cast<double>(kTwipsPerPixel);
  double left = (screen_w - Width()) / 2.0;
  double top = (screen_h - Height()) / 2.0;
  Move(static_cast<int>(left), static_cast<int>(top));
}

void FormBase::stop_timers() {
  for (QTimer* t : widget().findChildren<QTimer*>()) t->stop();
}

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
  if (area) QObject::connect(area, &QMdiArea::subWindowActivated, area, [this](QMdiSubWindow* s) { child_activated(s); });
  if (main && qGuiApp) {
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &main->widget(),
                     [this](QWindow* w) { window_focused(w); });
  }
}

void Forms::activated(FormBase& form) {
  if ((form.isMdiChild() ? active_child_ : active_top_) == &form) return;
  dispatch(form);
}

void Forms::dispatch(FormBase& form) {
  if (form.isMdiChild()) {
    active_child_ = &form;
    active_top_ = main_;
  } else {
    active_top_ = &form;
  }
  form.Form_Activate();
}

void Forms::forget(FormBase& form) {
  if (active_top_ == &form) active_top_ = nullptr;
  if (active_child_ == &form) active_child_ = nullptr;
}

void Forms::window_focused(QWindow* window) {
  // Focus leaving the program, or going to a message box or file dialog, activates no window;
  // nor does a late notice for a window hidden since.
  if (!window || modal_depth_ > 0) return;
  for (auto& [name, f] : forms_)
    if (!f->isMdiChild() && f->widget().windowHandle() == window && f->widget().isVisible()) return activated(*f);
}

void Forms::child_activated(QMdiSubWindow* sub) {
  if (!sub || modal_depth_ > 0) return;
  for (auto& [name, f] : forms_)
    if (f->sub_ == sub) return activated(*f);
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

  forget(form);
  form.stop_timers();
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
