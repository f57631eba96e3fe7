// The Calc add-in component: one UNO object offering the service
// com.sun.star.sheet.AddIn under the programmatic name org.decimora.AddIn.
// Its methods (generated from the registry into addin_methods.inc) are the
// worksheet functions; its XAddIn answers (names, descriptions, argument
// names and descriptions, categories) are read from the registry when Calc
// asks, so Calc learns every description on first use, in every document and
// after every restart, with nothing to wait for.

#include "calc/uno/addin.h"

#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XServiceName.hpp>
#include <com/sun/star/sheet/XAddIn.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <org/decimora/XDecimora.hpp>

#include <string>
#include <utility>
#include <vector>

#include "api/cls_decimora.h"
#include "api/registry.h"
#include "calc/addin_rows.h"
#include "calc/uno/windows.h"

namespace css = com::sun::star;
using rtl::OUString;

namespace decimora::calc {
namespace {

OUString ToOUString(std::string_view s) {
  return OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const OUString& s) {
  const rtl::OString o = rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8);
  return std::string(o.getStr(), static_cast<std::size_t>(o.getLength()));
}

// One argument as the functions receive it. A range or inline array arrives
// as rows of cells; a cell of it is a double or a text (a blank one "").
Value FromAny(const css::uno::Any& a, bool flag, bool in_range) {
  switch (a.getValueTypeClass()) {
    case css::uno::TypeClass_VOID:
      return Value::Omitted();
    case css::uno::TypeClass_DOUBLE:
    case css::uno::TypeClass_FLOAT:
    case css::uno::TypeClass_LONG:
    case css::uno::TypeClass_SHORT:
    case css::uno::TypeClass_HYPER:
    case css::uno::TypeClass_BYTE: {
      double d = 0;
      a >>= d;
      return FromCalcNumber(d, flag);
    }
    case css::uno::TypeClass_BOOLEAN: {
      bool b = false;
      a >>= b;
      return Value::Bool(b);
    }
    case css::uno::TypeClass_STRING: {
      OUString s;
      a >>= s;
      return FromCalcText(ToUtf8(s), in_range);
    }
    case css::uno::TypeClass_SEQUENCE: {
      css::uno::Sequence<css::uno::Sequence<css::uno::Any>> rows;
      if (!(a >>= rows)) return Value::Error(HostError::Value);
      const std::size_t n = static_cast<std::size_t>(rows.getLength());
      std::size_t cols = 0;
      for (const auto& r : rows) cols = std::max(cols, static_cast<std::size_t>(r.getLength()));
      Array arr(n, cols);
      for (std::size_t i = 0; i < n; ++i) {
        const auto& r = rows[static_cast<sal_Int32>(i)];
        for (sal_Int32 j = 0; j < r.getLength(); ++j) {
          arr.at(i + 1, static_cast<std::size_t>(j) + 1) = FromAny(r[j], false, true);
        }
      }
      return Value::FromArray(std::move(arr));
    }
    default:
      return Value::Error(HostError::Value);
  }
}

// One result cell. Booleans become 1/0: Calc shows a returned Boolean as 0
// whatever it is, and 1/0 work in IF, AND and the like.
css::uno::Any ToAny(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Text: return css::uno::Any(ToOUString(v.text()));
    case Value::Kind::Number: return css::uno::Any(v.number());
    case Value::Kind::Boolean: return css::uno::Any(v.boolean() ? 1.0 : 0.0);
    case Value::Kind::Error: return css::uno::Any(CalcErrorValue(v.error()));
    case Value::Kind::Omitted:
    case Value::Kind::Empty: return css::uno::Any(OUString());
    case Value::Kind::Array: {
      const Array& arr = v.array();
      css::uno::Sequence<css::uno::Sequence<css::uno::Any>> rows(static_cast<sal_Int32>(arr.rows));
      auto* out = rows.getArray();
      for (std::size_t i = 0; i < arr.rows; ++i) {
        css::uno::Sequence<css::uno::Any> row(static_cast<sal_Int32>(arr.cols));
        auto* cells = row.getArray();
        for (std::size_t j = 0; j < arr.cols; ++j) {
          const Value& cell = arr.at(i + 1, j + 1);
          cells[j] = cell.isArray() ? css::uno::Any(CalcErrorValue(HostError::Value)) : ToAny(cell);
        }
        out[i] = row;
      }
      return css::uno::Any(rows);
    }
  }
  return css::uno::Any(CalcErrorValue(HostError::Value));
}

const FunctionRow* RowByName(const OUString& name) { return FindFunction(ToUtf8(name)); }

class AddIn : public cppu::WeakImplHelper4<org::decimora::XDecimora, css::sheet::XAddIn, css::lang::XServiceName,
                                           css::lang::XServiceInfo> {
 public:
  AddIn() = default;

  // --- The worksheet functions -------------------------------------------------
#include "addin_methods.inc"

  // --- XAddIn ------------------------------------------------------------------
  OUString SAL_CALL getProgrammaticFuntionName(const OUString& display_name) override {
    const FunctionRow* row = HostRow(display_name);
    return row ? ToOUString(row->name) : OUString();
  }
  OUString SAL_CALL getDisplayFunctionName(const OUString& name) override {
    const FunctionRow* row = HostRow(name);
    return row ? ToOUString(row->name) : OUString();
  }
  OUString SAL_CALL getFunctionDescription(const OUString& name) override {
    const FunctionRow* row = HostRow(name);
    return row ? ToOUString(ShownDescription(*row)) : OUString();
  }
  OUString SAL_CALL getDisplayArgumentName(const OUString& name, sal_Int32 index) override {
    const Param* p = ParamOf(name, index);
    return p ? ToOUString(p->name) : OUString();
  }
  OUString SAL_CALL getArgumentDescription(const OUString& name, sal_Int32 index) override {
    const Param* p = ParamOf(name, index);
    return p ? ToOUString(p->description) : OUString();
  }
  OUString SAL_CALL getProgrammaticCategoryName(const OUString& name) override {
    const FunctionRow* row = HostRow(name);
    return ToOUString(row ? CalcCategory(row->category) : std::string_view("Add-In"));
  }
  OUString SAL_CALL getDisplayCategoryName(const OUString& name) override { return getProgrammaticCategoryName(name); }

  // --- XLocalizable: the texts exist in one language -----------------------------
  void SAL_CALL setLocale(const css::lang::Locale& locale) override { locale_ = locale; }
  css::lang::Locale SAL_CALL getLocale() override { return locale_; }

  // --- XServiceName, XServiceInfo ----------------------------------------------
  OUString SAL_CALL getServiceName() override { return ToOUString(kServiceName); }
  OUString SAL_CALL getImplementationName() override { return ToOUString(kImplementationName); }
  sal_Bool SAL_CALL supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
  css::uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return AddInServiceNames(); }

 private:
  static const FunctionRow* HostRow(const OUString& name) {
    const FunctionRow* row = RowByName(name);
    return row && row->category != kWorkerCategory ? row : nullptr;
  }
  static const Param* ParamOf(const OUString& name, sal_Int32 index) {
    const FunctionRow* row = HostRow(name);
    if (!row || index < 0 || static_cast<std::size_t>(index) >= row->params.size()) return nullptr;
    return &row->params[static_cast<std::size_t>(index)];
  }

  // The one call path of every worksheet function: arguments converted, the
  // registry's row called, the result converted. Nothing thrown gets out.
  css::uno::Any Invoke(const FunctionRow* row, const css::uno::Any* const* fixed, std::size_t fixed_count,
                       const css::uno::Sequence<css::uno::Any>* rest) {
    try {
      if (row == nullptr) return css::uno::Any(CalcErrorValue(HostError::Name));
      RefreshDefaultMaxSD();
      std::vector<Value> args;
      args.reserve(fixed_count + (rest ? static_cast<std::size_t>(rest->getLength()) : 0));
      for (std::size_t i = 0; i < fixed_count; ++i) {
        args.push_back(FromAny(*fixed[i], i < row->params.size() && IsFlagParam(row->params[i]), false));
      }
      if (rest) {
        for (const css::uno::Any& a : *rest) args.push_back(FromAny(a, false, false));
      }
      return ToAny(CallFunction(dcm_, *row, std::move(args)));
    } catch (...) {
      return css::uno::Any(CalcErrorValue(HostError::Value));
    }
  }

  cls_Decimora dcm_;
  css::lang::Locale locale_;
};

}  // namespace

css::uno::Sequence<OUString> AddInServiceNames() {
  css::uno::Sequence<OUString> names(2);
  names.getArray()[0] = "com.sun.star.sheet.AddIn";
  names.getArray()[1] = ToOUString(kServiceName);
  return names;
}

css::uno::Reference<css::uno::XInterface> CreateAddIn(const css::uno::Reference<css::uno::XComponentContext>& context) {
  SetWindowsContext(context);
  return static_cast<cppu::OWeakObject*>(new AddIn());
}

}  // namespace decimora::calc
