#include "employee/record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
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

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

// Opens a file the reader may take whole: a regular file only, so that a folder, a pipe or a
// device never blocks, feeds an endless stream or becomes the controlling terminal. On failure
// `reason` says why and `denied` whether permissions were the cause; `size` is the file's size on
// success.
int OpenRegularFile(const std::filesystem::path& path, std::string& reason, off_t& size,
                    bool* denied = nullptr) {
    if (path.empty() || HasNul(path)) {
        reason = ErrnoReason(ENOENT);
        return -1;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        // A socket, for one, cannot be opened at all; say what it is rather than why it failed.
        struct stat info {};
        struct stat link {};
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            reason = NotRegularReason(info.st_mode);
        } else if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            reason = "is a symbolic link to a file that is not there";
        } else {
            reason = "cannot be opened: " + ErrnoReason(error);
            if (denied != nullptr) *denied = IsPermissionError(error);
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

std::filesystem::path Absolute(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::absolute(file, ignored);
    return full.empty() ? file : full.lexically_normal();
}

struct Refusal {
    bool denied = false;
};

std::mutex& RefusedMutex() {
    static std::mutex mutex;
    return mutex;
}
std::map<std::filesystem::path, Refusal>& Refused() {
    static std::map<std::filesystem::path, Refusal> files;
    return files;
}

std::optional<Refusal> RefusalOf(const std::filesystem::path& file) {
    const std::lock_guard<std::mutex> hold(RefusedMutex());
    // Every read of a sound file asks; most of the time nothing was ever refused, and the full
    // name would cost a look at the working folder each time.
    if (Refused().empty()) return std::nullopt;
    const auto found = Refused().find(Absolute(file));
    if (found == Refused().end()) return std::nullopt;
    return found->second;
}

// Copies `from` to a new file `to`, failing if `to` exists; for file systems without hard links.
bool CopyToNew(const std::filesystem::path& from, const std::filesystem::path& to, int& error) {
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (in.Get() < 0) {
        error = errno;
        return false;
    }
    Descriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.Get() < 0) {
        error = errno;
        return false;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(in.Get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            error = errno;
            ::unlink(to.c_str());
            return false;
        }
        if (!WriteAll(out.Get(), std::string_view(buffer, static_cast<std::size_t>(got)), error)) {
            ::unlink(to.c_str());
            return false;
        }
    }
    if (::fsync(out.Get()) != 0 || out.Close() != 0) {
        error = errno;
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

// Keeps the refused file that `target` names beside it, under the first free kept-copy name. An
// earlier kept copy is never replaced: the link (or the exclusive create) fails on a taken name.
WriteResult KeepRefusedFile(const std::filesystem::path& target) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::filesystem::path kept = KeptCopyName(target);
        if (::link(target.c_str(), kept.c_str()) == 0) return WriteResult{};
        int error = errno;
        if (error == ENOENT) return WriteResult{};  // gone since it was refused: nothing to keep
        if (error == EEXIST) continue;
        if (CopyToNew(target, kept, error)) return WriteResult{};
        if (error == EEXIST) continue;
        return Failure("the damaged " + target.string() + " cannot be kept as " + kept.string() +
                       ": " + ErrnoText(error) + "; it is not replaced");
    }
    return Failure("no free name to keep the damaged " + target.string() + " under");
}

// The refused file is unknown, not damaged, when its permissions keep it from being read; it is
// not replaced, whether a reader saw it so or this save finds it so.
std::optional<std::string> UnreadableTarget(const std::filesystem::path& target) {
    const std::optional<Refusal> refusal = RefusalOf(target);
    bool denied = refusal && refusal->denied;
    if (!denied) {
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd >= 0) {
            ::close(fd);
        } else {
            denied = IsPermissionError(errno);
        }
    }
    if (!denied) return std::nullopt;
    return target.string() + " could not be read (permission denied), so it is not replaced: " +
           "what it holds would be lost. Give its owner permission to read and write it, then " +
           "open the employee again";
}

WriteResult CommitBytes(const std::filesystem::path& target, std::string_view bytes,
                        std::optional<std::size_t> failAfter) {
    if (target.empty() || HasNul(target)) return Failure("invalid file name");
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    if (target.filename().empty()) return Failure("invalid file name");

    if (const auto unreadable = UnreadableTarget(target)) return Failure(*unreadable);

    RemoveStaleTemporaries(folder, target.filename());
    TemporaryFile temp;
    int error = 0;
    Descriptor fd(temp.Create(target, error));
    if (fd.Get() < 0) {
        return Failure("cannot create a temporary file in " + folder.string() + ": " +
                       ErrnoText(error));
    }

    // Keep the permissions of the file being replaced, but never write a file its owner cannot
    // read and write back: the next save or open would fail on it.
    struct stat previous {};
    struct stat created {};
    mode_t mode = 0600;
    if (::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        mode = previous.st_mode & 07777;
    } else if (::fstat(fd.Get(), &created) == 0) {
        mode = created.st_mode & 07777;
    }
    ::fchmod(fd.Get(), mode | S_IRUSR | S_IWUSR);

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
    if (RefusalOf(target)) {
        if (WriteResult kept = KeepRefusedFile(target); !kept) return kept;
    }
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        error = errno;
        return Failure("cannot replace " + target.string() + ": " + ErrnoText(error));
    }
    temp.Keep();
    SyncFolder(folder);
    refused_files::Forget(target);
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
        reader.path_ = path;
        std::string reason;
        off_t size = 0;
        bool denied = false;
        Descriptor fd(OpenRegularFile(path, reason, size, &denied));
        if (fd.Get() < 0) {
            reader.FailToLoad(std::move(reason));
            reader.error_->denied = denied;
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

void RecordReader::NoteOutcome() {
    if (path_.empty()) return;
    if (!error_) {
        refused_files::Forget(path_);
        return;
    }
    // A folder, a pipe or a device in the file's place holds no contents to keep, and nothing
    // standing there is no file at all.
    struct stat info {};
    const bool file =
        ::lstat(path_.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode));
    if (file) {
        refused_files::Note(path_, *error_);
        error_->disposition =
            error_->denied
                ? "A save will not replace it. Give its owner permission to read it, then open "
                  "the employee again."
                : "Before a save replaces it, it will be kept as " + KeptCopyName(path_).string() +
                      ".";
    }
}

bool RecordReader::Finish() {
    const bool whole = FinishReading();
    NoteOutcome();
    return whole;
}

bool RecordReader::FinishReading() {
    if (!Ok()) return false;
    if (endedByData_ && field_ > 0 && !fieldPending_) {
        return Fail(
            "the file ends inside this field, with no line end: it looks cut short. If the "
            "value is complete, mend the file by ending its last line (press Enter after the "
            "last value in a text editor and save it)");
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
    // lstat, so that a link whose target is gone counts as there: it is a file that cannot be
    // read, and the save that replaced it would lose the link.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) return false;
    return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG;
}

std::string DescribeReadError(std::string_view fileName, const ReadError& error) {
    std::string text(fileName);
    if (error.line > 0) {
        text += ", line " + std::to_string(error.line) + ", field " + std::to_string(error.field);
    }
    text += ": " + error.reason;
    if (!error.disposition.empty()) text += "\r\n" + error.disposition;
    return text;
}

namespace refused_files {

void Note(const std::filesystem::path& file, const ReadError& error) {
    const std::lock_guard<std::mutex> hold(RefusedMutex());
    Refused()[Absolute(file)] = Refusal{error.denied};
}

void Forget(const std::filesystem::path& file) {
    const std::lock_guard<std::mutex> hold(RefusedMutex());
    if (!Refused().empty()) Refused().erase(Absolute(file));
}

bool Contains(const std::filesystem::path& file) {
    return RefusalOf(file).has_value();
}

}  // namespace refused_files

std::filesystem::path KeptCopyName(const std::filesystem::path& file) {
    const std::string base = file.native() + std::string(kKeptCopySuffix);
    for (int n = 1;; ++n) {
        std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0 || n >= 999) return {name};
    }
}

std::size_t LongestFileName(const std::filesystem::path& folder) {
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : 255;
}

std::size_t LongestAddedToFileName() {
    // A temporary file is "." + name + ".tmp-" + six characters; a kept copy is name +
    // ".damaged-999" at the most.
    const std::size_t temporary = TemporaryNameExtra();
    const std::size_t kept = kKeptCopySuffix.size() + std::string_view("-999").size();
    return std::max(temporary, kept);
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
