// The windows of the add-in inside Calc, built with the office's own dialog
// toolkit (UNO AWT): the About window and the "Set Default Max SD" dialog,
// and the recalculation sweep OK offers. They are reached from
// Tools > Add-Ons > Decimora (the commands org.decimora.calc:About and
// org.decimora.calc:SetMaxSD, dispatched to the protocol handler below) and
// from dcmABOUT. Their rules live in calc/maxsd_dialog.*; this file only
// shows what the model says.
//
// org.decimora.calc:SetMaxSD also runs without a window when given the
// arguments Edits (the texts typed, in order), Button ("OK" or "Cancel") and
// Recalculate (the answer to the question): the same model, settings file
// and sweep, for the end-to-end test. Its result is a list of what the
// windows would have shown.

#include "calc/uno/windows.h"

#include <cppuhelper/implbase1.hxx>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxResults.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/PushButtonType.hpp>
#include <com/sun/star/awt/Selection.hpp>
#include <com/sun/star/awt/XActionListener.hpp>
#include <com/sun/star/awt/XButton.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XControlContainer.hpp>
#include <com/sun/star/awt/XControlModel.hpp>
#include <com/sun/star/awt/XDialog.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/awt/XTextComponent.hpp>
#include <com/sun/star/awt/XTextListener.hpp>
#include <com/sun/star/awt/XToolkit.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/deployment/PackageInformationProvider.hpp>
#include <com/sun/star/frame/DispatchResultEvent.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XDispatchResultListener.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XArrayFormulaRange.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XNamedRange.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRange.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/util/URL.hpp>

#include <atomic>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "api/cls_decimora.h"
#include "api/registry.h"
#include "calc/addin_rows.h"
#include "calc/maxsd_dialog.h"
#include "frame/restrictionator.h"
#include "platform/windows.h"

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace decimora::calc {
namespace {

constexpr char kProtocol[] = "org.decimora.calc:";

OUString U(std::string_view s) { return OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8); }

std::string Utf8(const OUString& s) {
  const rtl::OString o = rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8);
  return std::string(o.getStr(), static_cast<std::size_t>(o.getLength()));
}

// The component context, kept for dcmABOUT, which has none of its own.
// Never destroyed: the office may unload the library after its UNO runtime.
Reference<css::uno::XComponentContext>& Context() {
  static auto* context = new Reference<css::uno::XComponentContext>();
  return *context;
}

Reference<css::uno::XInterface> Create(const char* service) {
  const auto& ctx = Context();
  return ctx->getServiceManager()->createInstanceWithContext(OUString::createFromAscii(service), ctx);
}

// The version the About window shows: dcmVERSION's answer once that
// function is available, the build's version until then.
std::string VersionText() {
  if (const FunctionRow* row = FindFunction("dcmVERSION"); row && row->entry) {
    cls_Decimora dcm;
    const Value v = CallFunction(dcm, *row, {});
    if (v.isText()) return std::string(v.text());
  }
#ifdef DECIMORA_VERSION
  return DECIMORA_VERSION;
#else
  return "";
#endif
}

// The README shipped in the extension, as a URL for the desktop's opener.
OUString ReadmeUrl() {
  try {
    auto info = css::deployment::PackageInformationProvider::get(Context());
    const OUString where = info->getPackageLocation(U(kExtensionId));
    if (!where.isEmpty()) return where + "/README.md";
  } catch (...) {
  }
  return OUString();
}

// --- A dialog model with controls placed in dialog units -------------------
struct Form {
  Reference<css::uno::XInterface> model;
  Reference<css::lang::XMultiServiceFactory> factory;
  Reference<css::container::XNameContainer> controls;

  Form(std::string_view title, sal_Int32 width, sal_Int32 height) {
    model = Create("com.sun.star.awt.UnoControlDialogModel");
    Reference<css::beans::XPropertySet> p(model, UNO_QUERY_THROW);
    p->setPropertyValue("PositionX", Any(sal_Int32(80)));
    p->setPropertyValue("PositionY", Any(sal_Int32(70)));
    p->setPropertyValue("Width", Any(width));
    p->setPropertyValue("Height", Any(height));
    p->setPropertyValue("Title", Any(U(title)));
    factory.set(model, UNO_QUERY_THROW);
    controls.set(model, UNO_QUERY_THROW);
  }

  Reference<css::beans::XPropertySet> Add(const char* kind, const char* name, sal_Int32 x, sal_Int32 y, sal_Int32 w,
                                          sal_Int32 h) {
    Reference<css::beans::XPropertySet> p(factory->createInstance(OUString::createFromAscii(kind)), UNO_QUERY_THROW);
    p->setPropertyValue("PositionX", Any(x));
    p->setPropertyValue("PositionY", Any(y));
    p->setPropertyValue("Width", Any(w));
    p->setPropertyValue("Height", Any(h));
    controls->insertByName(OUString::createFromAscii(name), Any(p));
    return p;
  }
  Reference<css::beans::XPropertySet> Label(const char* name, std::string_view text, sal_Int32 x, sal_Int32 y,
                                            sal_Int32 w, sal_Int32 h) {
    auto p = Add("com.sun.star.awt.UnoControlFixedTextModel", name, x, y, w, h);
    p->setPropertyValue("Label", Any(U(text)));
    p->setPropertyValue("MultiLine", Any(true));
    return p;
  }
  void Button(const char* name, std::string_view text, sal_Int32 x, sal_Int32 y, sal_Int32 w, bool is_default) {
    auto p = Add("com.sun.star.awt.UnoControlButtonModel", name, x, y, w, 14);
    p->setPropertyValue("Label", Any(U(text)));
    p->setPropertyValue("DefaultButton", Any(is_default));
  }

  // The dialog itself, its window created (under parent when there is one).
  Reference<css::awt::XControl> Show(const Reference<css::awt::XWindowPeer>& parent) {
    Reference<css::awt::XControl> dialog(Create("com.sun.star.awt.UnoControlDialog"), UNO_QUERY_THROW);
    dialog->setModel(Reference<css::awt::XControlModel>(model, UNO_QUERY_THROW));
    Reference<css::awt::XToolkit> toolkit(Create("com.sun.star.awt.Toolkit"), UNO_QUERY_THROW);
    dialog->createPeer(toolkit, parent);
    return dialog;
  }
};

sal_Int16 MessageBox(const Reference<css::awt::XWindowPeer>& parent, css::awt::MessageBoxType type,
                     sal_Int32 buttons, std::string_view title, std::string_view text) {
  Reference<css::awt::XMessageBoxFactory> factory(Create("com.sun.star.awt.Toolkit"), UNO_QUERY_THROW);
  Reference<css::awt::XMessageBox> box = factory->createMessageBox(parent, type, buttons, U(title), U(text));
  const sal_Int16 answer = box->execute();
  Reference<css::lang::XComponent>(box, UNO_QUERY)->dispose();
  return answer;
}

void DisposeDialog(const Reference<css::awt::XControl>& dialog) {
  Reference<css::lang::XComponent> c(dialog, UNO_QUERY);
  if (c.is()) c->dispose();
}

// --- The recalculation sweep -------------------------------------------------

using ArraysDone = std::set<std::tuple<sal_Int32, sal_Int32, sal_Int32, sal_Int32>>;

// The array formula block a cell belongs to, through a cursor collapsed onto
// it; false for a cell outside any array.
bool ArrayOf(const Reference<css::sheet::XSpreadsheet>& sheet, const Reference<css::table::XCell>& cell,
             Reference<css::sheet::XArrayFormulaRange>* array, css::table::CellRangeAddress* where) {
  try {
    Reference<css::sheet::XSheetCellRange> one(cell, UNO_QUERY_THROW);
    Reference<css::sheet::XSheetCellCursor> cursor = sheet->createCursorByRange(one);
    cursor->collapseToCurrentArray();
    Reference<css::sheet::XArrayFormulaRange> a(cursor, UNO_QUERY_THROW);
    if (a->getArrayFormula().isEmpty()) return false;
    *array = a;
    *where = Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
    return true;
  } catch (...) {
    return false;
  }
}

bool InArray(const Reference<css::sheet::XSpreadsheet>& sheet, const Reference<css::table::XCell>& cell) {
  Reference<css::sheet::XArrayFormulaRange> array;
  css::table::CellRangeAddress where;
  return ArrayOf(sheet, cell, &array, &where);
}

// Re-enters the array formula a cell belongs to, once per block.
bool ReenterArray(const Reference<css::sheet::XSpreadsheet>& sheet, const Reference<css::table::XCell>& cell,
                  ArraysDone& done) {
  Reference<css::sheet::XArrayFormulaRange> array;
  css::table::CellRangeAddress a;
  if (!ArrayOf(sheet, cell, &array, &a)) return false;
  if (!done.insert({a.StartColumn, a.StartRow, a.EndColumn, a.EndRow}).second) return false;
  array->setArrayFormula(array->getArrayFormula());
  return true;
}

// Re-enters, in every open spreadsheet, every formula cell that calls a
// function of the library directly or through a named expression; a cell of
// an array formula re-enters its whole array once. A cell that cannot be
// touched (a protected sheet, an odd cell) is skipped. Returns how many
// formulas were re-entered.
int RecalculateFormulas() {
  int count = 0;
  Reference<css::frame::XDesktop> desktop(Create("com.sun.star.frame.Desktop"), UNO_QUERY_THROW);
  Reference<css::container::XEnumeration> docs = desktop->getComponents()->createEnumeration();
  while (docs->hasMoreElements()) {
    try {
      Reference<css::sheet::XSpreadsheetDocument> doc(docs->nextElement(), UNO_QUERY);
      if (!doc.is()) continue;
      std::vector<NamedExpression> names;
      try {
        Reference<css::beans::XPropertySet> props(doc, UNO_QUERY_THROW);
        Reference<css::container::XNameAccess> ranges(props->getPropertyValue("NamedRanges"), UNO_QUERY_THROW);
        for (const OUString& n : ranges->getElementNames()) {
          Reference<css::sheet::XNamedRange> r(ranges->getByName(n), UNO_QUERY);
          if (r.is()) names.push_back({Utf8(n), Utf8(r->getContent())});
        }
      } catch (...) {
      }
      Reference<css::container::XIndexAccess> sheets(doc->getSheets(), UNO_QUERY_THROW);
      for (sal_Int32 s = 0; s < sheets->getCount(); ++s) {
        try {
          Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(s), UNO_QUERY_THROW);
          Reference<css::sheet::XCellRangesQuery> query(sheet, UNO_QUERY_THROW);
          Reference<css::sheet::XSheetCellRanges> found = query->queryContentCells(css::sheet::CellFlags::FORMULA);
          if (!found.is()) continue;
          ArraysDone arrays_done;
          Reference<css::container::XEnumeration> cells = found->getCells()->createEnumeration();
          while (cells->hasMoreElements()) {
            try {
              Reference<css::table::XCell> cell(cells->nextElement(), UNO_QUERY_THROW);
              const OUString formula = cell->getFormula();
              if (!CallsDecimora(Utf8(formula), names)) continue;
              if (ReenterArray(sheet, cell, arrays_done)) {
                ++count;
              } else if (!InArray(sheet, cell)) {
                cell->setFormula(formula);
                ++count;
              }
            } catch (...) {
            }
          }
        } catch (...) {
        }
      }
    } catch (...) {
    }
  }
  return count;
}

// --- The "Set Default Max SD" dialog ---------------------------------------

// What the dialog shows and asks, behind one interface: the real window, or
// the scripted answers of the end-to-end test.
struct MaxSDView {
  virtual ~MaxSDView() = default;
  virtual void Refuse(std::string_view message) = 0;
  virtual bool AskRecalculate() = 0;
  virtual void Report(std::string_view what) = 0;
};

// OK: the model stores the value; the About window (when open) shows it; the
// question; the sweep.
void AcceptMaxSD(MaxSDDialogModel& model, MaxSDView& view, const Reference<css::beans::XPropertySet>& about_line) {
  const MaxSDDialogModel::OkResult r = model.Ok();
  if (!r.changed) {
    view.Report("unchanged");
    return;
  }
  view.Report("stored=" + r.stored);
  if (!r.error.empty()) view.Refuse("The default could not be saved: " + r.error);
  if (about_line.is()) {
    try {
      about_line->setPropertyValue("Label", Any(U(AboutMaxSDLine(r.value))));
    } catch (...) {
    }
  }
  if (view.AskRecalculate()) view.Report("recalculated=" + std::to_string(RecalculateFormulas()));
}

class MaxSDWindow : public cppu::WeakImplHelper2<css::awt::XTextListener, css::awt::XActionListener>,
                    private MaxSDView {
 public:
  MaxSDWindow(const Reference<css::awt::XWindowPeer>& parent, Reference<css::beans::XPropertySet> about_line)
      : parent_(parent), about_line_(std::move(about_line)), model_(frame::DefaultMaxSD()) {}

  void Run() {
    Form form(kMaxSDCaption, 220, 120);
    form.Label("lblMainText", MaxSDExplanation(), 8, 6, 204, 62);
    form.Label("lblMaxSD", kMaxSDLabel, 8, 76, 140, 10);
    auto edit = form.Add("com.sun.star.awt.UnoControlEditModel", "txtMaxSD", 150, 74, 62, 12);
    edit->setPropertyValue("Text", Any(U(model_.text())));
    form.Button("cmdOK", "OK", 104, 98, 50, true);
    form.Button("cmdCancel", "Cancel", 162, 98, 50, false);
    dialog_ = form.Show(parent_);
    Reference<css::awt::XControlContainer> controls(dialog_, UNO_QUERY_THROW);
    text_.set(controls->getControl("txtMaxSD"), UNO_QUERY_THROW);
    const auto caret = static_cast<sal_Int32>(std::min<std::size_t>(model_.caret(), 999));
    text_->setSelection(css::awt::Selection(caret, caret));
    text_->addTextListener(this);
    for (const char* name : {"cmdOK", "cmdCancel"}) {
      Reference<css::awt::XButton> b(controls->getControl(OUString::createFromAscii(name)), UNO_QUERY_THROW);
      b->setActionCommand(OUString::createFromAscii(name));
      b->addActionListener(this);
    }
    Reference<css::awt::XDialog>(dialog_, UNO_QUERY_THROW)->execute();
    text_->removeTextListener(this);
    DisposeDialog(dialog_);
  }

  void SAL_CALL textChanged(const css::awt::TextEvent&) override {
    if (restoring_) return;
    if (auto refusal = model_.Edit(Utf8(text_->getText()))) {
      Refuse(*refusal);
      restoring_ = true;
      text_->setText(U(model_.text()));
      const auto caret = static_cast<sal_Int32>(model_.caret());
      text_->setSelection(css::awt::Selection(caret, caret));
      restoring_ = false;
    }
  }

  void SAL_CALL actionPerformed(const css::awt::ActionEvent& e) override {
    if (e.ActionCommand == "cmdOK") AcceptMaxSD(model_, *this, about_line_);
    Reference<css::awt::XDialog>(dialog_, UNO_QUERY_THROW)->endExecute();
  }

  void SAL_CALL disposing(const css::lang::EventObject&) override {}

 private:
  void Refuse(std::string_view message) override {
    MessageBox(Peer(), css::awt::MessageBoxType_ERRORBOX, css::awt::MessageBoxButtons::BUTTONS_OK, kRefusalTitle,
               message);
  }
  bool AskRecalculate() override {
    return MessageBox(Peer(), css::awt::MessageBoxType_QUERYBOX, css::awt::MessageBoxButtons::BUTTONS_YES_NO,
                      kRecalculateTitle, RecalculateQuestion()) == css::awt::MessageBoxResults::YES;
  }
  void Report(std::string_view) override {}
  Reference<css::awt::XWindowPeer> Peer() { return dialog_.is() ? dialog_->getPeer() : parent_; }

  Reference<css::awt::XWindowPeer> parent_;
  Reference<css::beans::XPropertySet> about_line_;
  MaxSDDialogModel model_;
  Reference<css::awt::XControl> dialog_;
  Reference<css::awt::XTextComponent> text_;
  bool restoring_ = false;
};

void ShowMaxSD(const Reference<css::awt::XWindowPeer>& parent, const Reference<css::beans::XPropertySet>& about_line) {
  RefreshDefaultMaxSD();
  Reference<MaxSDWindow> window(new MaxSDWindow(parent, about_line));
  window->Run();
}

// The scripted dialog: the same model and sweep, answers given in advance.
class ScriptedMaxSD : public MaxSDView {
 public:
  explicit ScriptedMaxSD(bool recalculate) : recalculate_(recalculate) {}
  void Refuse(std::string_view message) override { log.push_back("refused=" + std::string(message)); }
  bool AskRecalculate() override {
    log.push_back("asked=" + RecalculateQuestion().substr(0, RecalculateQuestion().find('\n')));
    return recalculate_;
  }
  void Report(std::string_view what) override { log.emplace_back(what); }
  std::vector<std::string> log;

 private:
  bool recalculate_;
};

std::vector<std::string> RunScriptedMaxSD(const Sequence<css::beans::PropertyValue>& args) {
  Sequence<OUString> edits;
  OUString button = "Cancel";
  bool recalculate = false;
  for (const auto& a : args) {
    if (a.Name == "Edits" && !(a.Value >>= edits)) {
      // A client without typed sequences sends the texts as a list of anys.
      Sequence<Any> loose;
      if (a.Value >>= loose) {
        edits.realloc(loose.getLength());
        for (sal_Int32 i = 0; i < loose.getLength(); ++i) loose[i] >>= edits.getArray()[i];
      }
    }
    if (a.Name == "Button") a.Value >>= button;
    if (a.Name == "Recalculate") a.Value >>= recalculate;
  }
  RefreshDefaultMaxSD();
  MaxSDDialogModel model(frame::DefaultMaxSD());
  ScriptedMaxSD view(recalculate);
  view.log.push_back("text=" + model.text());
  for (const OUString& e : edits) {
    if (auto refusal = model.Edit(Utf8(e))) view.Refuse(*refusal);
    view.log.push_back("text=" + model.text() + " caret=" + std::to_string(model.caret()));
  }
  if (button == "OK") {
    AcceptMaxSD(model, view, nullptr);
  } else {
    view.log.push_back("cancelled");
  }
  return view.log;
}

// --- The About window --------------------------------------------------------

class AboutWindow : public cppu::WeakImplHelper1<css::awt::XActionListener> {
 public:
  explicit AboutWindow(const Reference<css::awt::XWindowPeer>& parent) : parent_(parent) {}

  void Run() {
    RefreshDefaultMaxSD();
    const std::string version = VersionText();
    Form form("About Decimora " + version, 210, 132);
    auto title = form.Label("lblTitle", "Decimora " + version, 8, 6, 194, 18);
    css::awt::FontDescriptor big;
    big.Height = 16;
    big.Weight = css::awt::FontWeight::BOLD;
    title->setPropertyValue("FontDescriptor", Any(big));
    form.Label("lblTagline", "Decimal arithmetic to 32,767 significant digits, in your spreadsheet.", 8, 26, 194,
               18);
    line_ = form.Label("lblMaxSD", AboutMaxSDLine(frame::DefaultMaxSD()), 8, 48, 120, 20);
    auto link = form.Add("com.sun.star.awt.UnoControlFixedHyperlinkModel", "lblHyperlink", 8, 74, 194, 10);
    link->setPropertyValue("Label", Any(OUString("Decimora: documentation and source (README)")));
    link->setPropertyValue("URL", Any(ReadmeUrl()));
    link->setPropertyValue("TextColor", Any(sal_Int32(0x0000FF)));
    form.Label("lblCredits", "Made by the Decimora developers. Arbitrary-precision decimal functions for spreadsheets.",
               8, 88, 194, 18);
    form.Button("cmdMaxSD", "Set Default Max SD", 8, 112, 90, false);
    form.Button("cmdOK", "OK", 152, 112, 50, true);
    dialog_ = form.Show(parent_);
    Reference<css::awt::XControlContainer> controls(dialog_, UNO_QUERY_THROW);
    for (const char* name : {"cmdMaxSD", "cmdOK"}) {
      Reference<css::awt::XButton> b(controls->getControl(OUString::createFromAscii(name)), UNO_QUERY_THROW);
      b->setActionCommand(OUString::createFromAscii(name));
      b->addActionListener(this);
    }
    open_.store(true);
    Reference<css::awt::XDialog>(dialog_, UNO_QUERY_THROW)->execute();
    open_.store(false);
    DisposeDialog(dialog_);
  }

  void SAL_CALL actionPerformed(const css::awt::ActionEvent& e) override {
    if (e.ActionCommand == "cmdMaxSD") {
      ShowMaxSD(dialog_->getPeer(), line_);
    } else {
      Reference<css::awt::XDialog>(dialog_, UNO_QUERY_THROW)->endExecute();
    }
  }
  void SAL_CALL disposing(const css::lang::EventObject&) override {}

  static bool IsOpen() { return open_.load(); }

 private:
  static inline std::atomic<bool> open_{false};
  Reference<css::awt::XWindowPeer> parent_;
  Reference<css::awt::XControl> dialog_;
  Reference<css::beans::XPropertySet> line_;
};

void ShowAbout(const Reference<css::awt::XWindowPeer>& parent) {
  if (AboutWindow::IsOpen()) return;
  Reference<AboutWindow> window(new AboutWindow(parent));
  window->Run();
}

Reference<css::awt::XWindowPeer> PeerOf(const Reference<css::frame::XFrame>& frame) {
  if (!frame.is()) return nullptr;
  return Reference<css::awt::XWindowPeer>(frame->getContainerWindow(), UNO_QUERY);
}

// dcmABOUT runs inside a calculation: the window opens after it, from the
// office's main loop.
class OpenAboutLater : public cppu::WeakImplHelper1<css::awt::XCallback> {
 public:
  void SAL_CALL notify(const Any&) override {
    try {
      Reference<css::frame::XDesktop> desktop(Create("com.sun.star.frame.Desktop"), UNO_QUERY_THROW);
      ShowAbout(PeerOf(desktop->getCurrentFrame()));
    } catch (...) {
    }
  }
};

void RequestAbout() {
  try {
    if (!Context().is() || AboutWindow::IsOpen()) return;
    auto callback = css::awt::AsyncCallback::create(Context());
    callback->addCallback(new OpenAboutLater(), Any());
  } catch (...) {
  }
}

// --- The protocol handler of the menu's commands -----------------------------

class Commands : public cppu::WeakImplHelper4<css::frame::XDispatchProvider, css::frame::XNotifyingDispatch,
                                              css::lang::XInitialization, css::lang::XServiceInfo> {
 public:
  void SAL_CALL initialize(const Sequence<Any>& args) override {
    for (const Any& a : args) {
      Reference<css::frame::XFrame> f(a, UNO_QUERY);
      if (f.is()) frame_ = f;
    }
  }

  Reference<css::frame::XDispatch> SAL_CALL queryDispatch(const css::util::URL& url, const OUString&,
                                                         sal_Int32) override {
    if (url.Protocol == kProtocol && (url.Path == "About" || url.Path == "SetMaxSD")) return this;
    return nullptr;
  }
  Sequence<Reference<css::frame::XDispatch>> SAL_CALL queryDispatches(
      const Sequence<css::frame::DispatchDescriptor>& requests) override {
    Sequence<Reference<css::frame::XDispatch>> out(requests.getLength());
    for (sal_Int32 i = 0; i < requests.getLength(); ++i) {
      out.getArray()[i] = queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
    }
    return out;
  }

  void SAL_CALL dispatch(const css::util::URL& url, const Sequence<css::beans::PropertyValue>& args) override {
    dispatchWithNotification(url, args, nullptr);
  }
  void SAL_CALL dispatchWithNotification(const css::util::URL& url, const Sequence<css::beans::PropertyValue>& args,
                                         const Reference<css::frame::XDispatchResultListener>& listener) override {
    Any result;
    sal_Int16 state = css::frame::DispatchResultState::SUCCESS;
    try {
      if (url.Path == "About") {
        ShowAbout(PeerOf(frame_));
      } else if (url.Path == "SetMaxSD") {
        bool scripted = false;
        for (const auto& a : args) scripted = scripted || a.Name == "Button";
        if (scripted) {
          const std::vector<std::string> log = RunScriptedMaxSD(args);
          Sequence<OUString> out(static_cast<sal_Int32>(log.size()));
          for (std::size_t i = 0; i < log.size(); ++i) out.getArray()[i] = U(log[i]);
          result <<= out;
        } else {
          ShowMaxSD(PeerOf(frame_), nullptr);
        }
      }
    } catch (...) {
      state = css::frame::DispatchResultState::FAILURE;
    }
    if (listener.is()) {
      css::frame::DispatchResultEvent e;
      e.Source = static_cast<cppu::OWeakObject*>(this);
      e.State = state;
      e.Result = result;
      listener->dispatchFinished(e);
    }
  }
  void SAL_CALL addStatusListener(const Reference<css::frame::XStatusListener>&, const css::util::URL&) override {}
  void SAL_CALL removeStatusListener(const Reference<css::frame::XStatusListener>&, const css::util::URL&) override {}

  OUString SAL_CALL getImplementationName() override { return U(kCommandsImplementationName); }
  sal_Bool SAL_CALL supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
  Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return CommandsServiceNames(); }

 private:
  Reference<css::frame::XFrame> frame_;
};

}  // namespace

void SetWindowsContext(const Reference<css::uno::XComponentContext>& context) {
  if (context.is() && !Context().is()) {
    Context() = context;
    platform::SetAboutOpener(&RequestAbout);
  }
}

Sequence<OUString> CommandsServiceNames() {
  Sequence<OUString> names(1);
  names.getArray()[0] = "com.sun.star.frame.ProtocolHandler";
  return names;
}

Reference<css::uno::XInterface> CreateCommands(const Reference<css::uno::XComponentContext>& context) {
  SetWindowsContext(context);
  return static_cast<cppu::OWeakObject*>(new Commands());
}

}  // namespace decimora::calc
