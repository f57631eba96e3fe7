// The Binderly window, opened on a virtual X server and driven through its
// callbacks; the message boxes and the file chooser are replaced by
// recorders so that nothing waits for a person.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/filename.H>
#include <gtest/gtest.h>

#include "binderly/frmBinderly.h"
#include "binderly/modGetOpenFileName.h"
#include "binderly/sandbox.h"

using namespace std::chrono_literals;
using binderly::BoxKind;
using binderly::frmBinderly;
using binderly_test::Fixture;
using binderly_test::IsLoaded;
using binderly_test::Sandbox;

namespace {

struct Box {
  BoxKind kind;
  std::string text;
};

// A window whose boxes are recorded and whose chooser answers `choice`.
class WindowTest : public ::testing::Test {
 protected:
  binderly::WindowSeams Seams() {
    binderly::WindowSeams seams;
    seams.message_box = [this](BoxKind kind, const std::string& text) { boxes.push_back({kind, text}); };
    seams.choose_file = [this](const std::vector<std::string>& filters, const std::string& directory) {
      chooser_filters = filters;
      chooser_directory = directory;
      return choice;
    };
    seams.timeout = 1s;
    return seams;
  }

  std::vector<Box> boxes;
  std::vector<std::string> chooser_filters;
  std::string chooser_directory;
  std::string choice;
};

std::string ProgramDirectory() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().string();
}

}  // namespace

TEST_F(WindowTest, HoldsItsControlsInOrder) {
  frmBinderly form(Seams());
  form.Show();
  EXPECT_STREQ(form.window->label(), "Binderly");
  ASSERT_EQ(form.window->children(), 7);
  Fl_Widget* order[] = {form.cmdClose, form.cmdUnregister, form.cmdRegister, form.cmdBrowse,
                        form.txtPath,  form.Label2,        form.Label1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(form.window->child(i), order[i]) << i;
  EXPECT_STREQ(form.cmdClose->label(), "Close");
  EXPECT_STREQ(form.cmdUnregister->label(), "Unregister");
  EXPECT_STREQ(form.cmdRegister->label(), "Register");
  EXPECT_STREQ(form.cmdBrowse->label(), "Browse");
  EXPECT_STREQ(form.txtPath->value(), "Browse to file...");
  EXPECT_NE(std::string(form.Label2->label()).find("root"), std::string::npos);
  EXPECT_EQ(binderly::InitialDirectory(), ProgramDirectory());
  Fl::check();
  EXPECT_TRUE(form.window->shown());
}

TEST_F(WindowTest, BrowseFillsThePathUnlessCancelled) {
  frmBinderly form(Seams());
  form.Show();
  form.txtPath->value("/some/earlier/choice.so");
  choice = "";  // cancelled
  form.cmdBrowse->do_callback();
  EXPECT_STREQ(form.txtPath->value(), "/some/earlier/choice.so");
  EXPECT_EQ(chooser_filters, (std::vector<std::string>{"Component libraries::*.so;*.exe", "All Files::*"}));
  EXPECT_EQ(chooser_directory, ProgramDirectory());
  choice = "/opt/lib/libserver.so";
  form.cmdBrowse->do_callback();
  EXPECT_STREQ(form.txtPath->value(), "/opt/lib/libserver.so");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowTest, FailuresShowTheFailureBox) {
  Sandbox sandbox;
  frmBinderly form(Seams());
  form.Show();
  auto before = std::filesystem::current_path();
  std::filesystem::current_path(sandbox.dir());
  form.txtPath->value("");
  form.cmdRegister->do_callback();
  form.txtPath->value("Browse to file...");
  form.cmdUnregister->do_callback();
  form.txtPath->value(Fixture("failing").c_str());
  form.cmdRegister->do_callback();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].kind, BoxKind::Critical);
  EXPECT_EQ(boxes[0].text, "Sorry, unable to register this file.");
  EXPECT_EQ(boxes[1].kind, BoxKind::Critical);
  EXPECT_EQ(boxes[1].text, "Sorry, unable to unregister this file.");
  EXPECT_EQ(boxes[2].text, "Sorry, unable to register this file.");
  // After an attempt the chooser starts in the current directory.
  EXPECT_EQ(binderly::InitialDirectory(), std::filesystem::canonical(sandbox.dir()).string());
  std::filesystem::current_path(before);
}

TEST_F(WindowTest, SuccessShowsTheSuccessBox) {
  Sandbox sandbox;
  frmBinderly form(Seams());
  form.Show();
  form.txtPath->value(Fixture("quick").c_str());
  form.cmdRegister->do_callback();
  form.cmdUnregister->do_callback();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].kind, BoxKind::Information);
  EXPECT_EQ(boxes[0].text.rfind("Successfully registered.\n\n", 0), 0u);
  EXPECT_EQ(boxes[1].text.rfind("Successfully unregistered.\n\n", 0), 0u);
  EXPECT_EQ(sandbox.Calls(), "register\nunregister\n");
}

TEST_F(WindowTest, StaysResponsiveWhileAServerBlocks) {
  Sandbox sandbox;
  frmBinderly form(Seams());
  form.Show();
  form.txtPath->value(Fixture("blocking").c_str());
  // A timer of the window's own loop fires during the wait, and finds the
  // buttons held while the attempt runs.
  struct Seen {
    frmBinderly* form;
    int ticks = 0;
    bool busy = false;
    bool register_active = true;
  } seen{&form};
  auto tick = [](void* data) {
    auto* s = static_cast<Seen*>(data);
    ++s->ticks;
    s->busy = s->form->Busy();
    s->register_active = s->form->cmdRegister->active();
    s->form->cmdClose->do_callback();
  };
  Fl::add_timeout(0.0, tick, &seen);
  form.cmdRegister->do_callback();
  Fl::remove_timeout(tick, &seen);
  EXPECT_EQ(seen.ticks, 1);
  EXPECT_TRUE(seen.busy);
  EXPECT_FALSE(seen.register_active);
  EXPECT_TRUE(form.cmdRegister->active());
  // Close, pressed from the timer, was ignored while the attempt ran.
  EXPECT_TRUE(form.window->shown());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, BoxKind::Critical);
  EXPECT_EQ(boxes[0].text.rfind("Sorry, unable to register this file.\n\n", 0), 0u);
  // The server still runs in its library, which therefore stays loaded.
  std::string library = Fixture("blocking");
  ASSERT_TRUE(IsLoaded(library));
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  reinterpret_cast<void (*)()>(dlsym(handle, "FixtureRelease"))();
  dlclose(handle);
  EXPECT_TRUE(binderly_test::Eventually([&] { return !IsLoaded(library); }));
}

TEST_F(WindowTest, CloseShowsTheCreditsAndHidesTheWindow) {
  frmBinderly form(Seams());
  form.Show();
  Fl::check();
  form.cmdClose->do_callback();
  EXPECT_FALSE(form.window->shown());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, BoxKind::Information);
  EXPECT_EQ(boxes[0].text, binderly::CreditsText());
}

TEST(BinderlyChooser, FilterListBecomesTheChoosersFilter) {
  std::string filter = binderly::ChooserFilter({"Component libraries::*.so;*.exe", "All Files::*"});
  EXPECT_EQ(filter, "Component libraries\t{*.so,*.exe}\nAll Files\t*");
  std::string pattern = "{*.so,*.exe}";
  EXPECT_TRUE(fl_filename_match("libdecimora.so", pattern.c_str()));
  EXPECT_TRUE(fl_filename_match("server.exe", pattern.c_str()));
  EXPECT_FALSE(fl_filename_match("notes.txt", pattern.c_str()));
  EXPECT_EQ(binderly::ChooserFilter({"Text::*.txt"}), "Text\t*.txt");
}
