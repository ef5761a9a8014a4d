// The text record format every file of the program uses: lines of comma-separated typed fields,
// ended by CR LF. Writers replace their file atomically; readers never crash and report the first
// field they could not take.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/numbers.h"
#include "platform/write_result.h"

namespace kestrel {

// One field's text as it goes into a line.
struct RecordField {
    std::string text;
    bool operator==(const RecordField&) const = default;
};

namespace field {
RecordField Text(std::string_view value);  // quoted, no escaping (see SanitizeRecordText)
RecordField Single(float value);
RecordField Double(double value);
RecordField Int16(std::int16_t value);
RecordField Bool(bool value);  // #TRUE# / #FALSE#
RecordField Empty();
RecordField Money(Currency value);  // a currency value, as its decimal text
}  // namespace field

// A double quote cannot be stored inside a text field; it becomes a single quote.
std::string SanitizeRecordText(std::string_view text);

// Collects the lines of one file and commits them in one go: a temporary file in the same folder
// is written, flushed and renamed over the target, so a failed or interrupted write leaves the
// previous file as it was.
class RecordWriter {
  public:
    explicit RecordWriter(std::filesystem::path target);

    void Line(std::initializer_list<RecordField> fields);
    void Line(const std::vector<RecordField>& fields);

    [[nodiscard]] WriteResult Commit();

    const std::filesystem::path& Target() const { return target_; }
    // The bytes Commit writes.
    const std::string& Contents() const { return contents_; }

    // Test seam: make the temporary file's write fail after this many bytes. Once set, Commit
    // writes at most that many bytes and reports a failure, whatever the size of the contents.
    void FailAfterBytes(std::size_t bytes) { failAfter_ = bytes; }

  private:
    std::filesystem::path target_;
    std::string contents_;
    std::optional<std::size_t> failAfter_;
};

// No file the program writes from ordinary entries comes near this size: the largest layout, the
// weekly register, takes a few kilobytes, and only texts of many thousands of characters in dozens
// of boxes would reach it. A reader refuses anything larger without taking more than this into
// memory.
inline constexpr std::size_t kLargestRecordFile = 512 * 1024;

// A value from a file as an error message quotes it: cut short, with control characters and
// bytes outside ASCII written as \xNN, since a damaged file can hold anything.
std::string QuotedValue(std::string_view value);

// Where and why a read failed. `field` counts from 1 over the whole file; field and line are 0
// when the file itself could not be opened or read.
struct ReadError {
    ReadError() = default;
    ReadError(std::size_t atField, std::size_t atLine, std::string why)
        : field(atField), line(atLine), reason(std::move(why)) {}

    std::size_t field = 0;
    std::size_t line = 0;
    std::string reason;
    // The file exists but its permissions keep it from being read: it is not damaged, and a save
    // must not replace it.
    bool denied = false;
    // What the next save does about the refused file, for the message: where it will be kept, or
    // that it will not be replaced. Empty for data that is not a file.
    std::string disposition;
};

// "Where it failed" for a message: "Worker1.use, line 4, field 11: not a number: "x"", followed
// by the disposition on a line of its own.
std::string DescribeReadError(std::string_view fileName, const ReadError& error);

// Reads fields in order, wherever the line breaks fall. After the first failure every further
// read fails too and `Error()` tells the first one, so a format reader can read straight through
// and test once.
class RecordReader {
  public:
    // The file is read whole; a file that cannot be opened gives a reader that fails at once.
    static RecordReader Open(const std::filesystem::path& path);
    static RecordReader FromText(std::string text);

    bool Text(std::string& out);
    bool Single(float& out);
    bool Double(double& out);
    bool Int16(std::int16_t& out);
    bool Bool(bool& out);
    bool Money(Currency& out);
    // As Single, but an empty field is an error instead of 0: for files whose every number must be
    // written out.
    bool RequiredSingle(float& out);
    // Reads one field and throws it away (a separator or a reserved field).
    bool Skip();
    // Reads one field as it would be written back: a quoted text stays quoted, anything else is
    // kept as it stands. For reserved fields, which must survive a save unchanged.
    bool Raw(RecordField& out);

    // Fails at the field just read, for a value of the right type that the format does not allow.
    bool Refuse(std::string reason);
    // Called after the last field of a format: the file must end there. Only blanks and line ends
    // may follow, and the last field must be ended by a line end, as every line of the format is;
    // a file that stops inside its last field has been cut short. Anything else means the file is
    // not the one the reader expects (another kind of file, or one of the other pay frequency).
    // A file refused here (or before) is noted for the next save of it; one read whole is no
    // longer refused.
    bool Finish();
    // Finish for a format whose fields keep what was read before a failure: a file cut inside its
    // last field fails at that field, so the field gets back the value it held before the read.
    template <class T>
    bool Finish(T& lastField, const T& before) {
        const std::size_t last = field_;
        if (Finish()) return true;
        if (error_->field == last) lastField = before;
        return false;
    }

    bool Ok() const { return !error_.has_value(); }
    const std::optional<ReadError>& Error() const { return error_; }
    bool AtEnd() const;

  private:
    explicit RecordReader(std::string text) : text_(std::move(text)) {}
    void NoteOutcome();
    bool FinishReading();
    // The next raw field, or nullopt at the end of the data.
    std::optional<std::string> NextField(bool& quoted);
    // Counts the field and takes it, failing at the end of the data.
    std::optional<std::string> Take();
    bool TakeSingle(float& out, bool blankIsZero);
    bool Fail(std::string reason);
    void FailToLoad(std::string reason);

    std::string text_;
    std::filesystem::path path_;  // empty for text that is not a file
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t field_ = 0;
    std::size_t fieldLine_ = 1;  // the line the current field starts on
    bool fieldPending_ = false;  // the last field ended with a comma, so one more follows
    bool endedByData_ = false;   // the last field ended where the data did, with no line end
    std::optional<ReadError> error_;
};

// True when the file can be opened for reading; never reports an error.
bool FileExists(const std::filesystem::path& path);
// True when nothing stands at the name (or the name cannot name a file). Readers treat only this
// as "no file": a folder, a pipe, a file they may not read or a symbolic link whose target is
// gone stands where their file belongs and is refused with the reason, where FileExists would
// answer false for it as for a missing one.
bool FileMissing(const std::filesystem::path& path);

// Files a reader refused, so that no save replaces one unseen. A damaged file is kept beside
// itself under KeptCopyName before the first save that replaces it; a file that could not be read
// for its permissions is not replaced at all, since what it holds is unknown, not damaged.
//
// The list is process-wide on purpose: the readers and the writers of one file meet nowhere but
// in the file system (the settings writers take a path and nothing else), and the one place every
// write passes through is RecordWriter::Commit. Entries are absolute paths, so a change of the
// working folder does not confuse two employees' files.
namespace refused_files {
void Note(const std::filesystem::path& file, const ReadError& error);
void Forget(const std::filesystem::path& file);
bool Contains(const std::filesystem::path& file);
}  // namespace refused_files

// "Worker2.cfe.damaged", or "Worker2.cfe.damaged-2" and so on when that is taken: never an
// employee file's extension, never a name the open dialog offers.
inline constexpr std::string_view kKeptCopySuffix = ".damaged";
std::filesystem::path KeptCopyName(const std::filesystem::path& file);

// The longest file name the working folder allows (NAME_MAX, 255 where it cannot be asked).
std::size_t LongestFileName(const std::filesystem::path& folder = ".");
// What a save adds to a file's name for its temporary file and for a kept copy of a refused one,
// at most: the longest name of a file the program writes is this much longer than its own name.
std::size_t LongestAddedToFileName();

// The per-employee file name: the employee's name immediately followed by the extension.
std::filesystem::path EmployeeFile(std::string_view activeUser, std::string_view extension);

// The two standard messages, with CR LF line breaks.
std::string CorruptedFileMessage(std::string_view fileName);
std::string WriteErrorMessage();
void ShowCorruptedFile(Host& host, std::string_view fileName);
void ShowWriteError(Host& host);

}  // namespace kestrel
