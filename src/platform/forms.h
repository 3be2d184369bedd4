// Windows as the program uses them: one instance per window class, created on first use (its
// load handler runs then), addressed by class name, unloaded (destroyed) by name, and created
// afresh on the next use.
#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>

class QWindow;

namespace qtx {

class App;

// Why a window is being unloaded (the QueryUnload argument).
enum class UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2, TaskManager = 3, FormMDIForm = 4 };

inline constexpr int kTwipsPerPixel = 15;

class FormBase {
 public:
  explicit FormBase(App& app) : app_(app) {}
  virtual ~FormBase() = default;
  FormBase(const FormBase&) = delete;
  FormBase& operator=(const FormBase&) = delete;

  virtual QWidget& widget() = 0;
  // The class name, which is also the window's objectName.
  std::string formName();

  // Event handlers a window may give. Form_Activate runs whenever the window becomes the active
  // one: shown, a modal window over it closing, its MDI frame activated, or (a top-level
  // window) activated again after another window of the program was.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  // Return true to cancel the unload.
  virtual bool Form_QueryUnload(UnloadMode) { return false; }
  virtual void Form_Unload() {}
  // A modeless window that lives in the main window's MDI area.
  virtual bool isMdiChild() const { return false; }

  // Show modeless; MDI children go into the main window's area on first showing.
  void Show();
  void Hide();
  // Show modally (through Ui); returns when the window is hidden or unloaded. The window under
  // it (the one that showed it; the main window when none is given) is then active again and
  // its Form_Activate runs.
  void ShowModal(FormBase* under = nullptr);
  // Unload Me.
  void Unload();
  bool Visible();

  // The outer frame of the window: its MDI sub-window, or the window itself.
  QWidget& frame();
  // Position and size of the outer frame in twips.
  int Left();
  int Top();
  int Width();
  int Height();
  void Move(int left_twips, int top_twips);
  void setHeight(int twips);
  void setWidth(int twips);
  // Centres the window on the screen; a child window in the main window's area (it goes into
  // the area first, since the area places a window it takes in).
  void center();

  // Stops every timer of the window.
  void stop_timers();

  App& app() { return app_; }

 protected:
  // The title-bar close box: unloads the window as the program's own Unload does, after
  // asking Form_QueryUnload.
  void closeBoxPressed();

  App& app_;

 private:
  friend class Forms;
  QPointer<QMdiSubWindow> sub_;
};

// A window class: W is the Qt widget it is (QWidget, QDialog, QMainWindow).
template <class W>
class Form : public W, public FormBase {
 public:
  explicit Form(App& app) : W(nullptr), FormBase(app) {}
  QWidget& widget() override { return *this; }

 protected:
  // The title-bar close box unloads the window like the program's own Unload does, after
  // asking Form_QueryUnload.
  void closeEvent(QCloseEvent* e) override;
};

// A modal dialog window: Esc does nothing unless the dialog gives a Cancel button for it.
class DialogForm : public Form<QDialog> {
 public:
  using Form<QDialog>::Form;

 protected:
  void reject() override {}
};

// The name a window is addressed by: its class name without the namespace.
inline const char* form_class_name(const QMetaObject& meta) {
  const char* name = meta.className();
  for (const char* p = name; *p; ++p)
    if (p[0] == ':' && p[1] == ':') name = p + 2;
  return name;
}

class Forms {
 public:
  explicit Forms(App& app) : app_(app) {}
  ~Forms();

  // The window of class T, created (and loaded) on first use.
  template <class T>
  T& get() {
    static_assert(std::is_base_of_v<FormBase, T>);
    const char* name = form_class_name(T::staticMetaObject);
    if (FormBase* f = find(name)) return dynamic_cast<T&>(*f);
    T* form = new T(app_);
    form->setObjectName(QString::fromLatin1(name));
    add(name, form);
    form->Form_Load();
    return *form;
  }

  // The window when it is loaded, nullptr otherwise (nothing is created).
  template <class T>
  T* loaded() {
    return dynamic_cast<T*>(find(form_class_name(T::staticMetaObject)));
  }
  FormBase* find(std::string_view name) const;
  bool isLoaded(std::string_view name) const { return find(name) != nullptr; }

  // Unload: Form_QueryUnload (which may cancel), Form_Unload, then the window is destroyed.
  // Returns false when the window cancelled. Unloading a window that is not loaded does
  // nothing and returns true.
  bool unload(std::string_view name, UnloadMode mode = UnloadMode::FormCode);
  template <class T>
  bool unload(UnloadMode mode = UnloadMode::FormCode) {
    return unload(form_class_name(T::staticMetaObject), mode);
  }
  bool unload(FormBase& form, UnloadMode mode = UnloadMode::FormCode);

  // The main window: dialogs are centred over it, children live in its MDI area, and when it
  // is unloaded the program ends.
  void setMainWindow(FormBase* main, QMdiArea* area);
  QMdiArea* mdiArea() const { return area_; }
  FormBase* mainWindow() const { return main_; }
  void setEndProgram(std::function<void()> end) { end_program_ = std::move(end); }

  // Attaches an MDI child to the area (first showing).
  void attachChild(FormBase& form);

  // The window has become the active one: its Form_Activate runs unless it already was the
  // active window (top-level windows and MDI children are followed apart). Forms calls this
  // itself when Qt activates a window of the program; Show and ShowModal call it too.
  void activated(FormBase& form);

 private:
  friend class FormBase;
  void add(const char* name, FormBase* form);
  void forget(FormBase& form);
  void dispatch(FormBase& form);
  void window_focused(QWindow* window);
  void child_activated(QMdiSubWindow* sub);

  App& app_;
  std::map<std::string, FormBase*, std::less<>> forms_;
  FormBase* main_ = nullptr;
  QPointer<QMdiArea> area_;
  std::function<void()> end_program_;
  FormBase* active_top_ = nullptr;    // the top-level window last activated
  FormBase* active_child_ = nullptr;  // the MDI child last activated
  int modal_depth_ = 0;               // modal windows open: ShowModal activates the one under
};

template <class W>
void Form<W>::closeEvent(QCloseEvent* e) {
  // Unloading hides the window and destroys it later; the event itself is refused so Qt does
  // not close it a second time.
  e->ignore();
  closeBoxPressed();
}

}  // namespace qtx
