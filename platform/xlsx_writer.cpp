#include "platform/xlsx_writer.h"

#include <xlsxwriter.h>

#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/safe_file.h"

namespace kestrel {

namespace {

// Header and footer strings longer than this are refused by the format.
constexpr std::size_t kHeaderFooterLimit = 255;

WriteResult Failure(std::string reason) {
    return WriteResult{false, std::move(reason)};
}

// The sheet's XML must be valid UTF-8: a byte that starts no well-formed sequence (a register
// file can hold anything the user typed) becomes U+FFFD rather than spoiling the whole file.
std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (byte < 0x80) {
            length = 1;
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            if (byte == 0xE0) low = 0xA0;
            if (byte == 0xED) high = 0x9F;  // no surrogates
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            if (byte == 0xF0) low = 0x90;
            if (byte == 0xF4) high = 0x8F;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0x00;
            const bool ok = k == 1 ? next >= low && next <= high : (next & 0xC0) == 0x80;
            if (!ok) length = 0;
        }
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

// A header or footer section: "&" starts a code there, so a literal one is doubled, and line
// breaks and other control characters have no place on a one-line footer.
std::string HeaderFooterText(std::string_view text) {
    std::string out;
    for (char c : ValidUtf8(text)) {
        if (c == '&') {
            out += "&&";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

void DropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty()) text.pop_back();
}

// "&L...&C..." from the sections that have text. A footer too long for the format loses
// characters from the end of its longest section: a long employee name must not stop the
// export over a caption.
std::string HeaderFooter(std::string left, std::string center) {
    for (;;) {
        std::string joined;
        if (!left.empty()) joined += "&L" + HeaderFooterText(left);
        if (!center.empty()) joined += "&C" + HeaderFooterText(center);
        if (joined.size() <= kHeaderFooterLimit) return joined;
        DropLastCharacter(left.size() >= center.size() ? left : center);
    }
}

// libxlsxwriter frees the workbook when it is closed; one that is never closed must still go.
class OpenWorkbook {
  public:
    explicit OpenWorkbook(const std::string& path) : book_(workbook_new(path.c_str())) {}
    ~OpenWorkbook() {
        if (book_) Close();
    }
    OpenWorkbook(const OpenWorkbook&) = delete;
    OpenWorkbook& operator=(const OpenWorkbook&) = delete;

    lxw_workbook* Get() const { return book_; }
    lxw_error Close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        return error;
    }

  private:
    lxw_workbook* book_;
};

// One format object per distinct look, as the file shares them between cells.
class Formats {
  public:
    explicit Formats(lxw_workbook* book) : book_(book) {}

    // Null (the default format) for a plain cell.
    lxw_format* For(const Cell& cell) {
        if (!cell.bold && !cell.color && cell.numberFormat.empty()) return nullptr;
        const std::int64_t color =
            cell.color ? (cell.color->red << 16 | cell.color->green << 8 | cell.color->blue) : -1;
        const auto key = std::make_tuple(cell.bold, color, cell.numberFormat);
        if (const auto found = formats_.find(key); found != formats_.end()) return found->second;
        lxw_format* format = workbook_add_format(book_);
        if (format == nullptr) return nullptr;
        if (cell.bold) format_set_bold(format);
        if (cell.color) format_set_font_color(format, static_cast<lxw_color_t>(color));
        if (!cell.numberFormat.empty()) format_set_num_format(format, cell.numberFormat.c_str());
        formats_.emplace(key, format);
        return format;
    }

  private:
    lxw_workbook* book_;
    std::map<std::tuple<bool, std::int64_t, std::string>, lxw_format*> formats_;
};

// Fills the sheet; the first failure, or an empty text when all went in.
std::string FillSheet(const Workbook& book, lxw_workbook* file, lxw_worksheet* sheet) {
    Formats formats(file);
    for (const auto& [at, cell] : book.Cells()) {
        const auto row = static_cast<lxw_row_t>(at.row - 1);
        const auto column = static_cast<lxw_col_t>(at.column - 1);
        lxw_format* format = formats.For(cell);
        lxw_error error = LXW_NO_ERROR;
        if (const auto* number = std::get_if<double>(&cell.value)) {
            error = worksheet_write_number(sheet, row, column, *number, format);
        } else if (const auto* text = std::get_if<std::string>(&cell.value)) {
            error = worksheet_write_string(sheet, row, column, ValidUtf8(*text).c_str(), format);
        } else if (format != nullptr) {
            error = worksheet_write_blank(sheet, row, column, format);
        }
        if (error != LXW_NO_ERROR) return CellName(at) + ": " + lxw_strerror(error);
    }
    for (const auto& [column, width] : book.ColumnWidths()) {
        const auto index = static_cast<lxw_col_t>(column - 1);
        const lxw_error error = worksheet_set_column(sheet, index, index, width, nullptr);
        if (error != LXW_NO_ERROR) return "column width: " + std::string(lxw_strerror(error));
    }
    if (book.frozenRows > 0) {
        worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(book.frozenRows), 0);
    }

    const PageSetup& page = book.page;
    if (page.landscape) worksheet_set_landscape(sheet);
    if (page.fitToPagesWide > 0 || page.fitToPagesTall > 0) {
        worksheet_fit_to_pages(sheet, static_cast<std::uint16_t>(page.fitToPagesWide),
                               static_cast<std::uint16_t>(page.fitToPagesTall));
    }
    worksheet_set_margins(sheet, page.leftMargin, page.rightMargin, page.topMargin,
                          page.bottomMargin);
    const std::string header = HeaderFooter({}, page.centerHeader);
    if (!header.empty()) {
        if (const lxw_error error = worksheet_set_header(sheet, header.c_str()))
            return "header: " + std::string(lxw_strerror(error));
    }
    const std::string footer = HeaderFooter(page.leftFooter, page.centerFooter);
    if (!footer.empty()) {
        if (const lxw_error error = worksheet_set_footer(sheet, footer.c_str()))
            return "footer: " + std::string(lxw_strerror(error));
    }
    // The header and footer margins have no setter that takes 0, which the export asks for.
    sheet->margin_header = page.headerMargin;
    sheet->margin_footer = page.footerMargin;
    if (page.centerHorizontally) worksheet_center_horizontally(sheet);
    if (page.centerVertically) worksheet_center_vertically(sheet);
    return {};
}

// An .xlsx is a zip archive, which ends with its end-of-central-directory record; a file cut short
// by a full disk lacks it, whatever the library said about its writes.
std::optional<std::string> WholeArchive(const std::string& path) {
    constexpr std::string_view kEndRecord = "PK\x05\x06";
    constexpr std::size_t kEndRecordSize = 22;  // with no archive comment, as the library writes
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size < static_cast<std::streamoff>(kEndRecordSize)) return "the file was cut short";
    in.seekg(size - static_cast<std::streamoff>(kEndRecordSize));
    std::string tail(kEndRecord.size(), '\0');
    if (!in.read(tail.data(), static_cast<std::streamsize>(tail.size())) || tail != kEndRecord) {
        return "the file was cut short";
    }
    return std::nullopt;
}

}  // namespace

WriteResult WriteXlsx(const Workbook& book, const std::filesystem::path& file) {
    const std::string name = file.string();
    DocumentFile out(file);
    if (WriteResult begun = out.Begin(); !begun) return begun;

    OpenWorkbook xlsx(out.TemporaryPath());
    if (xlsx.Get() == nullptr) return Failure("cannot start " + name + ": out of memory");
    const std::string sheetName = ValidUtf8(book.sheetName);
    lxw_worksheet* sheet = workbook_add_worksheet(xlsx.Get(), sheetName.c_str());
    if (sheet == nullptr) {
        return Failure("cannot write " + name + ": \"" + sheetName + "\" cannot name a sheet");
    }
    const std::string filled = FillSheet(book, xlsx.Get(), sheet);
    if (!filled.empty()) return Failure("cannot write " + name + ": " + filled);
    if (const lxw_error error = xlsx.Close()) {
        return Failure("cannot write " + name + ": " + lxw_strerror(error));
    }
    return out.Commit(WholeArchive);
}

}  // namespace kestrel
