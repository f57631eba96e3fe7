// Writes what the Calc add-in needs to know about the worksheet functions at
// build time, all from the registration table:
//   XDecimora.idl       the UNO interface: one method per function, every
//                       argument an `any`, an open-ended list a final
//                       sequence<any>, every result an `any`
//   addin_methods.inc   the C++ wrappers implementing that interface, each
//                       forwarding to the component's one call path
//   functions.json      the rows as Calc shows them, for the end-to-end test
//
//   decimora_calc_gen OUTPUT_DIR
//
// Files whose contents did not change are left untouched, so the build does
// not redo the type library and the headers for nothing.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "calc/addin_rows.h"

namespace {

using decimora::FunctionRow;

std::size_t FixedCount(const FunctionRow& row) { return row.openEnded ? row.params.size() - 1 : row.params.size(); }

std::string Idl() {
  std::ostringstream out;
  out << "// Generated from the function registry by decimora_calc_gen; do not edit.\n"
         "// The method names are stored in workbooks: never rename one.\n"
         "#include <com/sun/star/uno/XInterface.idl>\n\n"
         "module org { module decimora {\n\n"
         "interface XDecimora : com::sun::star::uno::XInterface\n{\n";
  for (const FunctionRow* row : decimora::calc::HostRows()) {
    out << "    any " << row->name << "(";
    const std::size_t fixed = FixedCount(*row);
    for (std::size_t i = 0; i < row->params.size(); ++i) {
      if (i > 0) out << ", ";
      out << "[in] " << (i < fixed ? "any" : "sequence<any>") << " a" << (i + 1);
    }
    out << ");\n";
  }
  out << "};\n\n}; };\n";
  return out.str();
}

std::string Wrappers() {
  std::ostringstream out;
  out << "// Generated from the function registry by decimora_calc_gen; do not edit.\n"
         "// Included inside the component's class: one method of org::decimora::XDecimora per\n"
         "// function, each handing its arguments to Invoke.\n";
  for (const FunctionRow* row : decimora::calc::HostRows()) {
    const std::size_t fixed = FixedCount(*row);
    out << "css::uno::Any SAL_CALL " << row->name << "(";
    for (std::size_t i = 0; i < row->params.size(); ++i) {
      if (i > 0) out << ", ";
      out << (i < fixed ? "const css::uno::Any& a" : "const css::uno::Sequence<css::uno::Any>& a") << (i + 1);
    }
    out << ") override {\n"
        << "  static const ::decimora::FunctionRow* const row = ::decimora::FindFunction(\"" << row->name << "\");\n";
    if (fixed > 0) {
      out << "  const css::uno::Any* fixed[] = {";
      for (std::size_t i = 0; i < fixed; ++i) out << (i ? ", " : "") << "&a" << (i + 1);
      out << "};\n  return Invoke(row, fixed, " << fixed << ", ";
    } else {
      out << "  return Invoke(row, nullptr, 0, ";
    }
    if (row->openEnded) {
      out << "&a" << row->params.size() << ");\n}\n";
    } else {
      out << "nullptr);\n}\n";
    }
  }
  return out.str();
}

std::string Json(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Functions() {
  std::ostringstream out;
  out << "[\n";
  bool first = true;
  for (const FunctionRow* row : decimora::calc::HostRows()) {
    out << (first ? "" : ",\n") << "  {\"name\": " << Json(row->name)
        << ", \"category\": " << Json(decimora::calc::CalcCategory(row->category))
        << ", \"description\": " << Json(decimora::calc::ShownDescription(*row))
        << ", \"available\": " << (row->entry ? "true" : "false")
        << ", \"array\": " << (row->returnsArray ? "true" : "false")
        << ", \"openEnded\": " << (row->openEnded ? "true" : "false") << ", \"example\": " << Json(row->example)
        << ", \"expected\": " << Json(row->exampleResult) << ", \"params\": [";
    for (std::size_t i = 0; i < row->params.size(); ++i) {
      out << (i ? ", " : "") << "{\"name\": " << Json(row->params[i].name)
          << ", \"description\": " << Json(row->params[i].description) << "}";
    }
    out << "]}";
    first = false;
  }
  out << "\n]\n";
  return out.str();
}

bool WriteIfChanged(const std::filesystem::path& path, const std::string& text) {
  {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::ostringstream old;
      old << in.rdbuf();
      if (old.str() == text) return true;
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: decimora_calc_gen OUTPUT_DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!WriteIfChanged(dir / "XDecimora.idl", Idl()) || !WriteIfChanged(dir / "addin_methods.inc", Wrappers()) ||
      !WriteIfChanged(dir / "functions.json", Functions())) {
    std::cerr << "decimora_calc_gen: error: cannot write into " << dir << "\n";
    return 1;
  }
  return 0;
}
