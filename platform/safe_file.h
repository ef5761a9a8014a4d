// Replacing a file in one step: the new contents go into a hidden temporary file beside the
// target, every write, the flush and the close are checked, and only a complete file is renamed
// over the target. A failure or a kill at any point leaves the previous file as it was; the
// temporary file a killed writer leaves behind is removed by the next write of the same file.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/write_result.h"

namespace kestrel {

// A commit writes ".<name>.tmp-XXXXXX" beside "<name>": hidden, and ending in neither an
// employee file's extension nor anything the open dialog offers, so a copy left by a killed write
// is never taken for the file itself. This is the part before the six random characters.
std::string TemporaryPrefix(const std::filesystem::path& fileName);
// How many characters a temporary file's name has beyond the name of its target.
std::size_t TemporaryNameExtra();

// Removes the temporary files that earlier writes of `fileName` left in `folder` when they were
// killed before their rename. Best effort. Reads the whole folder, unless a FolderSweptOnce of
// the folder is alive in this thread.
void RemoveStaleTemporaries(const std::filesystem::path& folder,
                            const std::filesystem::path& fileName);

// A batch saving a great many files of one folder (a pay run posting a thousand registers)
// removes the leftovers of killed writes of every file of the folder once, when this is made,
// and its saves in this thread then do not read the whole folder again each: a folder of
// thousands of files would make that the most of a save. Leftovers another program leaves
// meanwhile are removed by a later save, as ever.
class FolderSweptOnce {
  public:
    // `AlreadySwept`: another thread of the batch swept the folder just before; sweeping it again
    // while that thread saves would only race with its writes.
    enum class Sweep { Now, AlreadySwept };
    explicit FolderSweptOnce(const std::filesystem::path& folder, Sweep sweep = Sweep::Now);
    ~FolderSweptOnce();
    FolderSweptOnce(const FolderSweptOnce&) = delete;
    FolderSweptOnce& operator=(const FolderSweptOnce&) = delete;

  private:
    std::filesystem::path previous_;
};

// The temporary file of a commit. It is removed unless the commit renamed it over the target, and
// stays locked until then so that another write's clean-up leaves it alone.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the hidden temporary file next to `target`, with the mode the umask gives any new
    // file. A descriptor open for writing, or -1 with `error` set to the errno value.
    int Create(const std::filesystem::path& target, int& error);

    const std::string& Path() const { return path_; }
    // After the rename: the file is the target now and must stay.
    void Keep() { path_.clear(); }

  private:
    std::string path_;
    int lock_ = -1;
};

// Writes every byte, retrying after interruptions; false with `error` set when a write fails.
bool WriteAll(int fd, std::string_view bytes, int& error);

// Makes a rename in `folder` survive a power cut, where the file system allows it.
void SyncFolder(const std::filesystem::path& folder);

// Why a document cannot be written at `target` because of what already stands there (a folder, a
// pipe, a device, a socket), or nullopt. A missing name, a regular file and a symbolic link may be
// replaced: the link itself is replaced, never the file it points to.
std::optional<std::string> UnreplaceableTarget(const std::filesystem::path& target);

// A document (a PDF, a workbook) written in one step. The new file takes the permissions of the
// regular file it replaces, with the owner always able to read and write it; a new file, or one
// replacing a symbolic link, gets the mode the umask gives.
class DocumentFile {
  public:
    explicit DocumentFile(std::filesystem::path target);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // Refuses an unreplaceable target, removes stale temporary files of earlier killed writes and
    // creates this write's own. Then the contents go either through Write or, for a library that
    // writes to a file name, into TemporaryPath.
    [[nodiscard]] WriteResult Begin();
    [[nodiscard]] WriteResult Write(std::string_view bytes);
    const std::string& TemporaryPath() const { return temp_.Path(); }

    // Flushes and closes the temporary file and renames it over the target. `complete`, when
    // given, checks what was written (a library may not report every failed write) and names
    // what is missing.
    using Check = std::function<std::optional<std::string>(const std::string& path)>;
    [[nodiscard]] WriteResult Commit(const Check& complete = {});

  private:
    std::filesystem::path target_;
    std::filesystem::path folder_;
    TemporaryFile temp_;
    int fd_ = -1;
};

// Begin, Write and Commit in one.
[[nodiscard]] WriteResult WriteDocumentFile(const std::filesystem::path& target,
                                            std::string_view bytes);

}  // namespace kestrel
