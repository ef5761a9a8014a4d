#include "employee/record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/safe_file.h"

namespace kestrel {

namespace {

constexpr std::string_view kTrue = "#TRUE#";
constexpr std::string_view kFalse = "#FALSE#";
constexpr std::string_view kLineEnd = "\r\n";

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

// "Permission denied" reads as part of a sentence: "cannot be opened: permission denied".
std::string ErrnoReason(int error) {
    std::string text = ErrnoText(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

bool HasNul(const std::filesystem::path& path) {
    return path.native().find('\0') != std::filesystem::path::string_type::npos;
}

// A file descriptor that is closed however the function leaves.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    // Closes now, because close can be the call that reports a failed write.
    int Close() {
        int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

// What a name that is not a regular file stands for, in the words of a message.
std::string NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a regular file";
}

// Opens a file the reader may take whole: a regular file only, so that a folder, a pipe or a
// device never blocks, feeds an endless stream or becomes the controlling terminal. On failure
// `reason` says why, and `size` is the file's size on success.
int OpenRegularFile(const std::filesystem::path& path, std::string& reason, off_t& size) {
    if (path.empty() || HasNul(path)) {
        reason = ErrnoReason(ENOENT);
        return -1;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        // A socket, for one, cannot be opened at all; say what it is rather than why it failed.
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            reason = NotRegularReason(info.st_mode);
        } else {
            reason = "cannot be opened: " + ErrnoReason(error);
        }
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = "cannot be examined: " + ErrnoReason(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = NotRegularReason(info.st_mode);
        ::close(fd);
        return -1;
    }
    size = info.st_size;
    return fd;
}

std::string TooLargeReason(std::uint64_t size) {
    return "is too large: " + std::to_string(size) + " bytes, where no file of this program " +
           "holds more than " + std::to_string(kLargestRecordFile) + " bytes";
}

WriteResult Failure(std::string reason) {
    return WriteResult{false, std::move(reason)};
}

WriteResult CommitBytes(const std::filesystem::path& target, std::string_view bytes,
                        std::optional<std::size_t> failAfter) {
    if (target.empty() || HasNul(target)) return Failure("invalid file name");
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    if (target.filename().empty()) return Failure("invalid file name");

    RemoveStaleTemporaries(folder, target.filename());
    TemporaryFile temp;
    int error = 0;
    Descriptor fd(temp.Create(target, error));
    if (fd.Get() < 0) {
        return Failure("cannot create a temporary file in " + folder.string() + ": " +
                       ErrnoText(error));
    }

    // Keep the permissions of the file being replaced.
    struct stat previous {};
    if (::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        ::fchmod(fd.Get(), previous.st_mode & 07777);
    }

    std::string_view toWrite = bytes;
    if (failAfter) toWrite = bytes.substr(0, *failAfter);
    if (!WriteAll(fd.Get(), toWrite, error)) {
        return Failure("cannot write " + temp.Path() + ": " + ErrnoText(error));
    }
    if (failAfter) {
        return Failure("write stopped after " + std::to_string(toWrite.size()) + " bytes");
    }
    if (::fsync(fd.Get()) != 0) {
        error = errno;
        return Failure("cannot flush " + temp.Path() + ": " + ErrnoText(error));
    }
    if (fd.Close() != 0) {
        error = errno;
        return Failure("cannot close " + temp.Path() + ": " + ErrnoText(error));
    }
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        error = errno;
        return Failure("cannot replace " + target.string() + ": " + ErrnoText(error));
    }
    temp.Keep();
    SyncFolder(folder);
    return WriteResult{};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

namespace field {

RecordField Text(std::string_view value) {
    return RecordField{"\"" + SanitizeRecordText(value) + "\""};
}
RecordField Single(float value) {
    return RecordField{SingleText(value)};
}
RecordField Double(double value) {
    return RecordField{DoubleText(value)};
}
RecordField Int16(std::int16_t value) {
    return RecordField{std::to_string(value)};
}
RecordField Bool(bool value) {
    return RecordField{std::string(value ? kTrue : kFalse)};
}
RecordField Empty() {
    return RecordField{};
}
RecordField Money(Currency value) {
    return RecordField{CurrencyText(value)};
}

}  // namespace field

std::string SanitizeRecordText(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '"') c = '\'';
    }
    return result;
}

RecordWriter::RecordWriter(std::filesystem::path target) : target_(std::move(target)) {}

void RecordWriter::Line(std::initializer_list<RecordField> fields) {
    Line(std::vector<RecordField>(fields));
}

void RecordWriter::Line(const std::vector<RecordField>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) contents_ += ',';
        contents_ += fields[i].text;
    }
    contents_ += kLineEnd;
}

WriteResult RecordWriter::Commit() {
    try {
        return CommitBytes(target_, contents_, failAfter_);
    } catch (const std::exception& e) {
        // Only an allocation can throw here; the temporary file has been removed by then.
        return Failure(e.what());
    }
}

RecordReader RecordReader::Open(const std::filesystem::path& path) {
    RecordReader reader{std::string()};
    try {
        std::string reason;
        off_t size = 0;
        Descriptor fd(OpenRegularFile(path, reason, size));
        if (fd.Get() < 0) {
            reader.FailToLoad(std::move(reason));
            return reader;
        }
        if (static_cast<std::uint64_t>(size) > kLargestRecordFile) {
            reader.FailToLoad(TooLargeReason(static_cast<std::uint64_t>(size)));
            return reader;
        }
        reader.text_.reserve(static_cast<std::size_t>(size));
        // One byte more than the limit tells a file that grew since it was measured.
        char buffer[65536];
        for (;;) {
            const std::size_t room = kLargestRecordFile + 1 - reader.text_.size();
            ssize_t got = ::read(fd.Get(), buffer, std::min(sizeof buffer, room));
            if (got == 0) break;
            if (got < 0) {
                const int error = errno;
                if (error == EINTR) continue;
                reader.FailToLoad("cannot be read: " + ErrnoReason(error));
                return reader;
            }
            reader.text_.append(buffer, static_cast<std::size_t>(got));
            if (reader.text_.size() > kLargestRecordFile) {
                reader.FailToLoad("is too large: more than " + std::to_string(kLargestRecordFile) +
                                  " bytes");
                return reader;
            }
        }
    } catch (const std::exception& e) {
        reader.FailToLoad(std::string("cannot be read: ") + e.what());
    }
    return reader;
}

RecordReader RecordReader::FromText(std::string text) {
    return RecordReader(std::move(text));
}

bool RecordReader::AtEnd() const {
    return !fieldPending_ && pos_ >= text_.size();
}

void RecordReader::FailToLoad(std::string reason) {
    text_.clear();
    pos_ = 0;
    error_ = ReadError{0, 0, std::move(reason)};
}

bool RecordReader::Fail(std::string reason) {
    if (!error_) error_ = ReadError{field_, fieldLine_, std::move(reason)};
    return false;
}

std::optional<std::string> RecordReader::NextField(bool& quoted) {
    quoted = false;
    fieldLine_ = line_;
    if (AtEnd()) return std::nullopt;
    fieldPending_ = false;

    const std::size_t size = text_.size();
    while (pos_ < size && IsBlank(text_[pos_]))
        ++pos_;

    std::string value;
    if (pos_ < size && text_[pos_] == '"') {
        quoted = true;
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string::npos) {
            pos_ = size;
            Fail("missing closing quote");
            return std::nullopt;
        }
        value = text_.substr(pos_ + 1, close - pos_ - 1);
        // A text may hold line breaks; count them so later errors name the right line.
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\n' ||
                (value[i] == '\r' && (i + 1 == value.size() || value[i + 1] != '\n'))) {
                ++line_;
            }
        }
        pos_ = close + 1;
        while (pos_ < size && text_[pos_] != ',' && !IsLineEnd(text_[pos_]))
            ++pos_;
    } else {
        std::size_t start = pos_;
        while (pos_ < size && text_[pos_] != ',' && !IsLineEnd(text_[pos_]))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && IsBlank(text_[end - 1]))
            --end;
        value = text_.substr(start, end - start);
    }

    endedByData_ = pos_ >= size;
    if (pos_ < size) {
        if (text_[pos_] == ',') {
            // A comma promises one more field, even at the very end of the data.
            fieldPending_ = true;
            ++pos_;
        } else {
            if (text_[pos_] == '\r' && pos_ + 1 < size && text_[pos_ + 1] == '\n') ++pos_;
            ++pos_;
            ++line_;
        }
    }
    return value;
}

namespace {

// Spaces inside quotes survive the read; a numeric field holding nothing else is still empty.
bool IsEmptyValue(std::string_view value) {
    for (char c : value) {
        if (!IsBlank(c)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> RecordReader::Take() {
    if (!Ok()) return std::nullopt;
    ++field_;
    bool quoted = false;
    std::optional<std::string> value = NextField(quoted);
    if (!value) Fail("unexpected end of file");
    return value;
}

bool RecordReader::Text(std::string& out) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    out = std::move(*value);
    return true;
}

bool RecordReader::TakeSingle(float& out, bool blankIsZero) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    if (IsEmptyValue(*value)) {
        if (!blankIsZero) return Fail("a number is needed here, not an empty field");
        out = 0.0F;
        return true;
    }
    std::optional<float> number = StrictSingle(*value);
    if (!number) return Fail("not a number: " + QuotedValue(*value));
    out = *number;
    return true;
}

bool RecordReader::Single(float& out) {
    return TakeSingle(out, true);
}

bool RecordReader::RequiredSingle(float& out) {
    return TakeSingle(out, false);
}

bool RecordReader::Double(double& out) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    if (IsEmptyValue(*value)) {
        out = 0.0;
        return true;
    }
    std::optional<double> number = StrictDouble(*value);
    if (!number) return Fail("not a number: " + QuotedValue(*value));
    out = *number;
    return true;
}

bool RecordReader::Int16(std::int16_t& out) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    // A Boolean field read into an integer gives the values the program stores for them.
    if (*value == kTrue) {
        out = -1;
        return true;
    }
    if (*value == kFalse || IsEmptyValue(*value)) {
        out = 0;
        return true;
    }
    std::optional<std::int16_t> number = StrictInt16(*value);
    if (!number) {
        bool isNumber = StrictDouble(*value).has_value();
        return Fail((isNumber ? "out of the 16-bit range: " : "not a number: ") +
                    QuotedValue(*value));
    }
    out = *number;
    return true;
}

bool RecordReader::Bool(bool& out) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    if (*value == kTrue) {
        out = true;
        return true;
    }
    if (*value == kFalse || IsEmptyValue(*value)) {
        out = false;
        return true;
    }
    std::optional<double> number = StrictDouble(*value);
    if (!number) return Fail("not a Boolean: " + QuotedValue(*value));
    out = *number != 0.0;
    return true;
}

bool RecordReader::Money(Currency& out) {
    std::optional<std::string> value = Take();
    if (!value) return false;
    if (IsEmptyValue(*value)) {
        out = Currency();
        return true;
    }
    std::optional<Currency> amount = StrictCurrency(*value);
    if (!amount) return Fail("not an amount: " + QuotedValue(*value));
    out = *amount;
    return true;
}

bool RecordReader::Skip() {
    return Take().has_value();
}

bool RecordReader::Raw(RecordField& out) {
    if (!Ok()) return false;
    ++field_;
    bool quoted = false;
    std::optional<std::string> value = NextField(quoted);
    if (!value) return Fail("unexpected end of file");
    out = quoted ? field::Text(*value) : RecordField{std::move(*value)};
    return true;
}

bool RecordReader::Refuse(std::string reason) {
    return Fail(std::move(reason));
}

bool RecordReader::Finish() {
    if (!Ok()) return false;
    if (endedByData_ && field_ > 0 && !fieldPending_) {
        return Fail("the file ends inside this field, with no line end: it looks cut short");
    }
    // Whatever follows now is a field the format does not have.
    ++field_;
    fieldLine_ = line_;
    if (fieldPending_) return Fail("more fields than the file has: the line goes on after a comma");
    const std::size_t size = text_.size();
    for (; pos_ < size; ++pos_) {
        const char c = text_[pos_];
        if (c == '\n' || (c == '\r' && (pos_ + 1 == size || text_[pos_ + 1] != '\n'))) {
            ++line_;
        } else if (c != '\r' && !IsBlank(c)) {
            fieldLine_ = line_;
            std::size_t end = pos_;
            while (end < size && !IsLineEnd(text_[end]))
                ++end;
            return Fail("more than the file has, from here on: " +
                        QuotedValue(std::string_view(text_).substr(pos_, end - pos_)));
        }
    }
    --field_;
    return true;
}

std::string QuotedValue(std::string_view value) {
    constexpr std::size_t kLongest = 32;
    std::string text = "\"";
    for (char c : value.substr(0, kLongest)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            constexpr std::string_view kHex = "0123456789abcdef";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else {
            text += c;
        }
    }
    if (value.size() > kLongest) text += "...";
    text += '"';
    return text;
}

bool FileExists(const std::filesystem::path& path) {
    std::string reason;
    off_t size = 0;
    int fd = OpenRegularFile(path, reason, size);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool FileMissing(const std::filesystem::path& path) {
    if (path.empty() || HasNul(path)) return true;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return false;
    return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG;
}

std::filesystem::path EmployeeFile(std::string_view activeUser, std::string_view extension) {
    std::string name(activeUser);
    name += extension;
    return {name};
}

std::string CorruptedFileMessage(std::string_view fileName) {
    std::string text = "You have corupted a file.\r\nFind file,\r\n";
    text += fileName;
    text += "\r\nand delete it.";
    return text;
}

std::string WriteErrorMessage() {
    return "Check your numbers\r\nNo blanks\r\nOnly numbers";
}

void ShowCorruptedFile(Host& host, std::string_view fileName) {
    ShowMessage(host, CorruptedFileMessage(fileName));
}

void ShowWriteError(Host& host) {
    ShowMessage(host, WriteErrorMessage());
}

}  // namespace kestrel
