#include "cli/reference.h"

#include <string>

#include "api/registry.h"
#include "cli/options.h"

namespace decimora::cli {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      default:
        continue;
    }
    out.append(text, from, i - from).append(entity);
    from = i + 1;
  }
  out.append(text, from, std::string_view::npos);
  return out;
}

namespace {

// An anchor from a category's name: letters and digits, the rest "-".
std::string Anchor(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!keep) c = '-';
  }
  return out;
}

void AppendRow(std::string& out, const FunctionRow& row) {
  out.append("<section id=\"").append(EscapeHtml(row.name)).append("\">\n");
  out.append("<h3><code>").append(EscapeHtml(Signature(row))).append("</code></h3>\n");
  out.append("<p>").append(EscapeHtml(row.description)).append("</p>\n");
  if (!row.params.empty()) {
    out.append("<table>\n<tr><th>Argument</th><th>Description</th></tr>\n");
    for (const Param& p : row.params) {
      out.append("<tr><td><code>").append(EscapeHtml(p.name)).append("</code>");
      if (p.optional) out.append(" (optional)");
      out.append("</td><td>").append(EscapeHtml(p.description)).append("</td></tr>\n");
    }
    out.append("</table>\n");
    if (row.openEnded) out.append("<p>The last argument may be repeated.</p>\n");
  }
  if (row.returnsArray) out.append("<p>Returns an array: enter it into a block of cells.</p>\n");
  // Cells of an array result are separated by TAB, rows by newline, as the
  // command line prints them.
  out.append("<p>Example: <code>").append(EscapeHtml(row.example)).append("</code> gives</p>\n");
  out.append("<pre>").append(EscapeHtml(row.exampleResult)).append("</pre>\n");
  if (row.entry == nullptr) out.append("<p><em>Not available yet.</em></p>\n");
  out.append("</section>\n");
}

}  // namespace

std::string ReferenceHtml() {
  const auto& table = FunctionTable();
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Decimora function reference</title>\n"
      "<style>body{font-family:sans-serif;max-width:60em;margin:auto;padding:0 1em}"
      "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:.2em .5em;text-align:left;"
      "vertical-align:top}pre{background:#f4f4f4;padding:.3em}</style>\n"
      "</head>\n<body>\n<h1>Decimora function reference</h1>\n"
      "<p>Every function computes on numbers written as text, with up to 32,767 significant digits. "
      "Optional arguments are shown in brackets; an omitted one takes its default.</p>\n";
  // The categories in table order, as a contents list.
  out.append("<ul>\n");
  std::string_view category;
  for (const FunctionRow& row : table) {
    if (row.category == category) continue;
    category = row.category;
    out.append("<li><a href=\"#").append(Anchor(category)).append("\">").append(EscapeHtml(category));
    out.append("</a></li>\n");
  }
  out.append("</ul>\n");
  category = {};
  for (const FunctionRow& row : table) {
    if (row.category != category) {
      category = row.category;
      out.append("<h2 id=\"").append(Anchor(category)).append("\">").append(EscapeHtml(category));
      out.append("</h2>\n");
    }
    AppendRow(out, row);
  }
  out.append("</body>\n</html>\n");
  return out;
}

}  // namespace decimora::cli
