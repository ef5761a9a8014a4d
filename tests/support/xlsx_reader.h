// Reads a saved .xlsx back with an independent reader (Python's openpyxl, installed by
// scripts/setup.sh), so that tests check the file a spreadsheet application gets, not the model
// the program built.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kestrel::testing {

// One line per item, fields separated by tabs:
//   cell  A1  s|n  value  bold 0|1  colour (ARGB or -)  number format
//   width  A  characters
//   sheet / freeze / orientation / fitToPage / fitToWidth / fitToHeight / margin NAME / header /
//   footerLeft / footerCenter / rawFooter / rawHeader / hcenter / vcenter  value
inline constexpr const char* kXlsxDumpScript = R"PY(
import re, sys, zipfile
from openpyxl import load_workbook
from openpyxl.utils import get_column_letter

path = sys.argv[1]
wb = load_workbook(path)
ws = wb.active
out = []
def put(*fields):
    out.append("\t".join(str(f) for f in fields))
put("sheet", ws.title)
for row in ws.iter_rows():
    for c in row:
        color = c.font.color.rgb if c.font is not None and c.font.color is not None else None
        if not isinstance(color, str):
            color = None
        bold = bool(c.font.b) if c.font is not None else False
        if c.value is None and not bold and color is None:
            continue
        if c.value is None:
            kind, value = "-", ""
        elif c.data_type == "n":
            kind, value = "n", "%.15g" % float(c.value)
        else:
            kind, value = c.data_type, c.value
        put("cell", c.coordinate, kind, value, int(bold), color or "-", c.number_format)
for letter, dim in sorted(ws.column_dimensions.items()):
    if dim.customWidth:
        put("width", letter, dim.width)
put("freeze", ws.freeze_panes)
put("orientation", ws.page_setup.orientation)
put("fitToPage", int(bool(ws.sheet_properties.pageSetUpPr is not None
                          and ws.sheet_properties.pageSetUpPr.fitToPage)))
# An absent attribute means its default, 1.
put("fitToWidth", ws.page_setup.fitToWidth if ws.page_setup.fitToWidth is not None else 1)
put("fitToHeight", ws.page_setup.fitToHeight if ws.page_setup.fitToHeight is not None else 1)
m = ws.page_margins
for name in ("left", "right", "top", "bottom", "header", "footer"):
    put("margin", name, "%g" % getattr(m, name))
put("header", ws.oddHeader.center.text or "")
put("footerLeft", ws.oddFooter.left.text or "")
put("footerCenter", ws.oddFooter.center.text or "")
with zipfile.ZipFile(path) as z:
    xml = z.read("xl/worksheets/sheet1.xml").decode("utf-8")
for tag, name in (("oddHeader", "rawHeader"), ("oddFooter", "rawFooter")):
    found = re.search("<%s>(.*?)</%s>" % (tag, tag), xml)
    put(name, found.group(1).replace("&amp;", "&") if found else "")
put("hcenter", int(bool(ws.print_options.horizontalCentered)))
put("vcenter", int(bool(ws.print_options.verticalCentered)))
sys.stdout.write("\n".join(out) + "\n")
)PY";

struct XlsxDump {
    // "cell" lines by address: kind, value, bold, colour, number format.
    std::map<std::string, std::vector<std::string>> cells;
    std::map<std::string, double> widths;  // by column letter
    // Every other line: its name (with the margin's name: "margin left") and value.
    std::map<std::string, std::string> items;
    std::string error;  // why nothing could be read
};

inline std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

inline XlsxDump ReadXlsx(const std::filesystem::path& file) {
    XlsxDump dump;
    const std::filesystem::path script = std::filesystem::temp_directory_path() /
                                         ("kestrel-xlsx-dump-" + file.filename().string() + ".py");
    WriteFile(script, kXlsxDumpScript);
    // Debian's python3-openpyxl belongs to Debian's interpreter, which another python3 earlier
    // on the PATH (a pyenv shim) would not see.
    const std::string python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    const std::string command = python + " '" + script.string() + "' '" + file.string() + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        dump.error = "cannot run python3";
        return dump;
    }
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int status = pclose(pipe);
    std::filesystem::remove(script);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        dump.error = "python3 with openpyxl could not read " + file.string() + ":\n" + output;
        return dump;
    }
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields = SplitTabs(line);
        if (fields[0] == "cell" && fields.size() == 7) {
            dump.cells[fields[1]] = {fields.begin() + 2, fields.end()};
        } else if (fields[0] == "width" && fields.size() == 3) {
            dump.widths[fields[1]] = std::stod(fields[2]);
        } else if (fields[0] == "margin" && fields.size() == 3) {
            dump.items["margin " + fields[1]] = fields[2];
        } else if (fields.size() == 2) {
            dump.items[fields[0]] = fields[1];
        }
    }
    return dump;
}

}  // namespace kestrel::testing
