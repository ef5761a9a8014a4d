#include "platform/xlsx_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace kestrel {

namespace {

// Header and footer strings longer than this are refused by the format.
constexpr std::size_t kHeaderFooterLimit = 255;

std::string ErrnoText(int error) {
    return std::strerror(error);
}

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

// The temporary file of a save, removed unless it was renamed over the target.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates "<target>.<random>.tmp" next to the target, with the mode the umask gives any
    // file the user saves. 0 or an errno value.
    int Create(const std::filesystem::path& target) {
        std::random_device random;
        constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = target.native() + ".";
            for (int i = 0; i < 8; ++i)
                name += kDigits[random() % kDigits.size()];
            name += ".tmp";
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                path_ = std::move(name);
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }

    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

  private:
    std::string path_;
};

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

// Makes the saved bytes reach the disk before the rename makes them the file.
int Sync(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

}  // namespace

WriteResult WriteXlsx(const Workbook& book, const std::filesystem::path& file) {
    if (file.empty()) return Failure("no file name was given");
    if (file.native().find('\0') != std::string::npos) return Failure("invalid file name");
    const std::string name = file.string();
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return Failure(name + " is a folder");
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (!std::filesystem::is_directory(folder, ec)) {
        return Failure("the folder " + folder.string() + " does not exist");
    }

    TemporaryFile temp;
    if (const int error = temp.Create(file)) {
        return Failure("cannot create a file in " + folder.string() + ": " + ErrnoText(error));
    }
    // Keep the permissions of a file being replaced.
    struct stat previous {};
    if (::stat(file.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        ::chmod(temp.Path().c_str(), previous.st_mode & 07777);
    }

    OpenWorkbook xlsx(temp.Path());
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
    if (const int error = Sync(temp.Path())) {
        return Failure("cannot flush " + name + ": " + ErrnoText(error));
    }
    if (::rename(temp.Path().c_str(), file.c_str()) != 0) {
        const int error = errno;
        return Failure("cannot replace " + name + ": " + ErrnoText(error));
    }
    temp.Keep();
    return WriteResult{};
}

}  // namespace kestrel
