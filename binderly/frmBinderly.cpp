#include "binderly/frmBinderly.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/fl_ask.H>
#include <unistd.h>

#include <climits>

#include "binderly/modGetOpenFileName.h"

namespace binderly {
namespace {

constexpr Fl_Font kFont = FL_HELVETICA;
constexpr int kFontSize = 13;

std::string ProgramDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string path(buffer, static_cast<size_t>(n));
  auto slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : InitialDirectory();
}

void ShowBox(BoxKind kind, const std::string& text) {
  fl_message_title("Binderly");
  if (kind == BoxKind::Critical) {
    fl_alert("%s", text.c_str());
  } else {
    fl_message("%s", text.c_str());
  }
}

template <class Widget>
Widget* Styled(Widget* widget) {
  widget->labelfont(kFont);
  widget->labelsize(kFontSize);
  return widget;
}

}  // namespace

std::string& InitialDirectory() {
  static std::string directory;
  return directory;
}

std::string CreditsText() {
  return "Binderly\n\n"
         "Registers and unregisters component libraries and server programs.\n"
         "Part of Decimora, an arbitrary-precision decimal calculator for spreadsheet users.";
}

frmBinderly::frmBinderly(WindowSeams seams) : seams_(std::move(seams)) {
  if (!seams_.message_box) seams_.message_box = ShowBox;
  if (!seams_.choose_file) seams_.choose_file = GetOpenFileName;

  window = new Fl_Double_Window(540, 195, "Binderly");
  window->labelfont(kFont);
  cmdClose = Styled(new Fl_Button(440, 150, 85, 30, "Close"));
  cmdUnregister = Styled(new Fl_Button(345, 150, 85, 30, "Unregister"));
  cmdRegister = Styled(new Fl_Button(250, 150, 85, 30, "Register"));
  cmdBrowse = Styled(new Fl_Button(440, 46, 85, 28, "Browse"));
  txtPath = new Fl_Input(15, 46, 415, 28);
  txtPath->textfont(kFont);
  txtPath->textsize(kFontSize);
  txtPath->value("Browse to file...");
  Label2 = Styled(new Fl_Box(15, 84, 510, 56,
                             "Binderly registers a component for the user who runs it. To register or "
                             "unregister a component for all users, run Binderly as root (for example "
                             "\"sudo binderly\")."));
  Label2->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP);
  Label1 = Styled(new Fl_Box(15, 12, 510, 24, "Register or unregister any component library (.so) or server program (.exe)."));
  Label1->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_WRAP);
  window->end();

  cmdBrowse->callback([](Fl_Widget*, void* self) { static_cast<frmBinderly*>(self)->Browse(); }, this);
  cmdRegister->callback([](Fl_Widget*, void* self) { static_cast<frmBinderly*>(self)->Attempt(true); }, this);
  cmdUnregister->callback([](Fl_Widget*, void* self) { static_cast<frmBinderly*>(self)->Attempt(false); }, this);
  cmdClose->callback([](Fl_Widget*, void* self) { static_cast<frmBinderly*>(self)->Unload(); }, this);
  // The window's own close button and Escape unload it as Close does.
  window->callback([](Fl_Widget*, void* self) { static_cast<frmBinderly*>(self)->Unload(); }, this);

  InitialDirectory() = ProgramDirectory();
}

frmBinderly::~frmBinderly() { delete window; }

void frmBinderly::Show() { window->show(); }

void frmBinderly::Browse() {
  if (busy_) return;
  std::vector<std::string> filters{"Component libraries::*.so;*.exe", "All Files::*"};
  std::string chosen = seams_.choose_file(filters, InitialDirectory());
  if (!chosen.empty()) txtPath->value(chosen.c_str());
}

void frmBinderly::Attempt(bool registering) {
  if (busy_) return;
  SetBusy(true);
  RoutineOptions options;
  options.timeout = seams_.timeout;
  // Keep drawing and answering the window while a server works.
  options.idle = [](std::chrono::milliseconds slice) { Fl::wait(static_cast<double>(slice.count()) / 1000.0); };
  Outcome outcome = RegisterComponent(txtPath->value(), registering, options);
  SetBusy(false);
  if (outcome.ok) {
    seams_.message_box(BoxKind::Information, SuccessText(registering));
  } else {
    seams_.message_box(BoxKind::Critical, FailureText(registering, outcome));
  }
  InitialDirectory() = CurrentDirectory();
}

void frmBinderly::Unload() {
  if (busy_) return;  // an attempt is under way; it ends within the time-out
  window->hide();
  seams_.message_box(BoxKind::Information, CreditsText());
}

void frmBinderly::SetBusy(bool busy) {
  busy_ = busy;
  for (Fl_Widget* widget : {static_cast<Fl_Widget*>(cmdClose), static_cast<Fl_Widget*>(cmdUnregister),
                            static_cast<Fl_Widget*>(cmdRegister), static_cast<Fl_Widget*>(cmdBrowse),
                            static_cast<Fl_Widget*>(txtPath)}) {
    if (busy) {
      widget->deactivate();
    } else {
      widget->activate();
    }
  }
}

}  // namespace binderly
